#pragma once

#include "files/file_safety.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <optional>

namespace tunara::cli {

// Every verb reads an argument with a leading dash (but "-" alone) as an
// option until "--", after which every argument is a file name.
inline bool isOption(const QString &arg)
{
    return arg.startsWith(u'-') && arg.size() > 1;
}

// The arguments of a file command: the files named, --json, and -o FILE.
struct FileArgs {
    QStringList files;
    bool json = false;
    QString output;
    QString error;  // empty when the arguments made sense
};

inline FileArgs parseFileArgs(const QStringList &args, bool takesJson, bool takesOutput)
{
    FileArgs parsed;
    bool options = true;
    for (int k = 0; k < args.size(); ++k) {
        const QString &a = args[k];
        if (!options || !isOption(a)) {
            parsed.files << a;
        } else if (a == QStringLiteral("--")) {
            options = false;
        } else if (takesJson && a == QStringLiteral("--json")) {
            parsed.json = true;
        } else if (takesOutput && a == QStringLiteral("-o")) {
            if (k + 1 >= args.size() || !parsed.output.isEmpty())
                parsed.error = QStringLiteral("-o needs one output file");
            else
                parsed.output = args[++k];
        } else {
            parsed.error = QStringLiteral("unknown option \"%1\"").arg(a);
        }
    }
    if (parsed.error.isEmpty() && takesOutput && parsed.output.isEmpty())
        parsed.error = QStringLiteral("-o OUTPUT is required");
    return parsed;
}

// True when the output names the same file as one of the inputs (by
// device and inode, whatever the spelling): writing it would replace a file
// the command reads.
inline bool outputIsAnInput(const FileArgs &parsed)
{
    const std::optional<files::FileId> out = files::fileId(parsed.output);
    return out && std::any_of(parsed.files.cbegin(), parsed.files.cend(),
                              [&](const QString &in) { return files::fileId(in) == out; });
}

}  // namespace tunara::cli

#pragma once

#include <QFileInfo>
#include <QString>
#include <QStringList>

namespace tunara::cli {

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
    for (int k = 0; k < args.size(); ++k) {
        const QString &a = args[k];
        if (takesJson && a == QStringLiteral("--json")) {
            parsed.json = true;
        } else if (takesOutput && a == QStringLiteral("-o")) {
            if (k + 1 >= args.size() || !parsed.output.isEmpty())
                parsed.error = QStringLiteral("-o needs one output file");
            else
                parsed.output = args[++k];
        } else if (a.startsWith(u'-') && a.size() > 1) {
            parsed.error = QStringLiteral("unknown option \"%1\"").arg(a);
        } else {
            parsed.files << a;
        }
    }
    if (parsed.error.isEmpty() && takesOutput && parsed.output.isEmpty())
        parsed.error = QStringLiteral("-o OUTPUT is required");
    return parsed;
}

// True when the output path names one of the inputs: writing it would
// replace a file the command reads.
inline bool outputIsAnInput(const FileArgs &parsed)
{
    const QFileInfo out(parsed.output);
    for (const QString &in : parsed.files) {
        const QFileInfo info(in);
        if (info.absoluteFilePath() == out.absoluteFilePath()
            || (info.exists() && out.exists() && info.canonicalFilePath() == out.canonicalFilePath()))
            return true;
    }
    return false;
}

}  // namespace tunara::cli

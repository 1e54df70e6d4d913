#include "cli/transfer_args.h"

#include "cli/cli_args.h"

#include <algorithm>

namespace tunara::cli {

namespace {

// What is wrong with a --port value ("" when nothing). Digits alone are a
// port number and must be one of 1..255; anything else is a device path.
// An empty value is a mistake (a variable that was never set), not a wish
// for the stored port: only leaving --port out means that.
QString portValueProblem(const QString &value)
{
    if (value.isEmpty())
        return QStringLiteral("--port needs a number 1 to 255 or a device path, not an empty text");
    if (isPortNumber(value)) {
        bool fits = false;
        const int number = value.toInt(&fits);
        if (!fits || number < 1 || number > 255)
            return QStringLiteral("port number %1 is outside 1 to 255").arg(value);
    }
    return QString();
}

}  // namespace

bool isPortNumber(const QString &value)
{
    return !value.isEmpty() &&
           std::all_of(value.cbegin(), value.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

Arguments parse(const QStringList &args, bool takesOutput, bool takesWriteAll)
{
    Arguments a;
    bool options = true;
    for (int k = 0; k < args.size(); ++k) {
        const QString &arg = args[k];
        if (!options || !isOption(arg)) {
            a.files << arg;
        } else if (arg == QStringLiteral("--")) {
            options = false;
        } else if (arg == QStringLiteral("--no-restore-point")) {
            a.noRestorePoint = true;
        } else if (arg == QStringLiteral("--port") || arg == QStringLiteral("--trace") ||
                   (takesOutput && arg == QStringLiteral("-o")) ||
                   (takesWriteAll && arg == QStringLiteral("--expect"))) {
            if (k + 1 >= args.size()) {
                a.problem = arg + QStringLiteral(" needs a value");
                return a;
            }
            if (arg != QStringLiteral("--port") && args[k + 1].isEmpty()) {
                a.problem = arg + QStringLiteral(" needs a file name, not an empty text");
                return a;
            }
            (arg == QStringLiteral("--port")    ? a.port
             : arg == QStringLiteral("--trace") ? a.trace
             : arg == QStringLiteral("-o")      ? a.output
                                                : a.expect) = args[++k];
            a.portGiven = a.portGiven || arg == QStringLiteral("--port");
        } else if (takesWriteAll && arg == QStringLiteral("--write-all")) {
            a.writeAll = true;
        } else if (takesWriteAll && arg == QStringLiteral("--accept-changes")) {
            a.acceptChanges = true;
        } else if (arg.startsWith(QStringLiteral("--port="))) {
            a.port = arg.mid(7);
            a.portGiven = true;
        } else {
            a.problem = QStringLiteral("unknown option \"%1\"").arg(arg);
            return a;
        }
    }
    if (a.portGiven)
        a.problem = portValueProblem(a.port);
    return a;
}

}  // namespace tunara::cli

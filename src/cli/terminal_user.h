#pragma once

// The terminal's side of a transfer: messages, questions, error dialogs and
// the progress bar of the command line.

#include "cli/cli_command.h"
#include "core/runtime_error.h"
#include "link/line_error_handler.h"
#include "link/module_transfers.h"

#include <QString>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace tunara::cli {

// Messages go to stdout as plain lines; every error dialog is answered
// Abort (and every line error Cancel), since nobody is there to retry.
class TerminalUser : public link::TransferPrompter, public ErrorResponder, public link::LineErrorPrompter {
public:
    explicit TerminalUser(CliStreams &io) : m_io(io) {}

    void showMessage(const QString &text, const QString &, link::MessageIcon) override
    {
        QString plain = text;
        // Failures go where a script looks for them; the rest is the report.
        QTextStream &stream = isFailure(text) ? m_io.err : m_io.out;
        stream << plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << '\n';
        stream.flush();
    }
    bool askOkCancel(const QString &, const QString &) override { return true; }
    ErrorChoice ErrorDialog(const RuntimeError &error) override
    {
        m_io.err << error.source() << ": " << error.description() << '\n';
        m_io.err.flush();
        return ErrorChoice::Abort;
    }
    link::LineErrorChoice askLineError(const QString &text, const QString &title) override
    {
        m_io.err << title << ": " << text << '\n';
        m_io.err.flush();
        return link::LineErrorChoice::Cancel;
    }

private:
    static bool isFailure(const QString &text)
    {
        namespace T = link::TransferText;
        // A failure's first line names it; more lines may follow.
        const QString first = text.section(QStringLiteral("\r\n"), 0, 0);
        for (const QString *failure :
             {&T::NoLink, &T::DownloadIdFailed, &T::UploadIdFailed, &T::IdentifyIdFailed, &T::DownloadRefused,
              &T::UploadRefused, &T::DownloadFailed, &T::NoData, &T::ProgrammingFailed, &T::VerificationFailed,
              &T::ReadBeforeUploadFailed, &T::ParametersNotEncoded, &T::StoppedBeforeWriting})
            if (first == *failure)
                return true;
        return false;
    }

    CliStreams &m_io;
};

inline bool stderrIsTerminal()
{
#ifdef Q_OS_UNIX
    return ::isatty(STDERR_FILENO) == 1;
#else
    return false;
#endif
}

// A bar on the error stream, drawn only when that stream is a terminal.
class TerminalProgress : public link::ProgressDisplay {
public:
    explicit TerminalProgress(CliStreams &io) : m_io(io), m_enabled(stderrIsTerminal()) {}

    void showProgress(const QString &caption) override
    {
        m_caption = caption;
        m_percent = -1;
        setProgress(0);
    }
    void setProgress(int percent) override
    {
        if (!m_enabled || percent == m_percent)
            return;
        m_percent = percent;
        constexpr int width = 40;
        const int filled = percent * width / 100;
        m_io.err << '\r' << m_caption.leftJustified(20) << " [" << QString(filled, u'#')
                 << QString(width - filled, u' ') << "] " << QString::number(percent).rightJustified(3) << '%';
        m_io.err.flush();
    }
    void hideProgress() override
    {
        if (!m_enabled || m_percent < 0)
            return;
        m_io.err << '\r' << QString(80, u' ') << '\r';
        m_io.err.flush();
        m_percent = -1;
    }

private:
    CliStreams &m_io;
    bool m_enabled;
    QString m_caption;
    int m_percent = -1;
};

}  // namespace tunara::cli

// Help > Contents and Help > About.
#include "app/main_window.h"

#include <QDir>
#include <QFileInfo>

namespace tunara::ui {

namespace {
const QString CRLF = QStringLiteral("\r\n");
}

QString frmTunara_Main::copyrightLine()
{
    return QStringLiteral("Copyright (c) 2026 Halvern Zazorer. All rights reserved.");
}

QString frmTunara_Main::aboutText(const QStringList &companyInfo)
{
    // Without a company name the text starts with the product itself; the
    // load has already reported the missing company lines.
    QString text = companyInfo.isEmpty() ? QStringLiteral("Tunara Torvik Zoruro Version 1.00")
                                         : companyInfo.first() + QStringLiteral(" Tunara Torvik Zoruro Version 1.00");
    text += CRLF + copyrightLine() + CRLF + CRLF;
    for (qsizetype i = 1; i < companyInfo.size(); ++i)
        text += companyInfo[i] + CRLF;
    return text;
}

void frmTunara_Main::mnuAbout_Click()
{
    m_ctx.ui.messageBox(this, aboutText(m_ctx.company.CompanyInfo), QStringLiteral("About"), Buttons::OK,
                        Icon::Information);
}

void frmTunara_Main::mnuHelpContents_Click()
{
    const QString contents = helpContentsPath(m_ctx.programFolder);
    if (!QFileInfo(contents).isReadable()) {
        m_ctx.ui.messageBox(this,
                            QStringLiteral("The help file %1 was not found. The program works without it; "
                                           "reinstall the program to get the help back.")
                                .arg(QDir::toNativeSeparators(contents)),
                            QStringLiteral("Help"), Buttons::OK, Icon::Exclamation);
        return;
    }
    m_ctx.ui.showHelp(this, contents);
}

QString frmTunara_Main::helpContentsPath(const QString &programFolder)
{
    return QDir(programFolder).filePath(QStringLiteral("Tunara_Kelm_Help/index.html"));
}

}  // namespace tunara::ui

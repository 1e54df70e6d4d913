#include "app/recent_files_menu.h"

#include "app/main_actions.h"
#include "files/stored_settings.h"
#include "ui_port/user_interface.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QWidget>

namespace tunara::ui {

namespace {

const QString Section = QStringLiteral("Files");
const QString Key = QStringLiteral("Recent");

// Only a plain file can be a data file: a folder or a device named in a
// hand-edited list is dropped; a file that is missing now stays until chosen
// (its drive may be back).
bool mayBeDataFile(const QString &path)
{
    const QFileInfo info(path);
    return !info.exists() || info.isFile();
}

}  // namespace

RecentFilesMenu::RecentFilesMenu(const MainActions &actions, StoredSettings &settings, UserInterface &ui,
                                 QWidget &owner, Open open)
    : QObject(&owner),
      m_actions(actions),
      m_settings(settings),
      m_ui(ui),
      m_owner(owner),
      m_open(std::move(open)),
      m_list(RecentFiles::fromStored(settings.getSetting(Section, Key, QString())))
{
    m_list.prune(mayBeDataFile);
    for (std::size_t k = 0; k < m_actions.recentFiles.size(); ++k)
        connect(m_actions.recentFiles[k], &QAction::triggered, this, [this, k] {
            if (qsizetype(k) < m_list.paths().size())
                openIfThere(m_list.paths()[qsizetype(k)]);
        });
    refresh();
}

void RecentFilesMenu::add(const QString &path)
{
    m_list.add(QFileInfo(path).absoluteFilePath());
    store();
}

void RecentFilesMenu::openIfThere(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile()) {
        m_ui.messageBox(&m_owner, path + QStringLiteral("\r\nFile not found."), QStringLiteral("File Open"),
                        Buttons::OK, Icon::Exclamation);
        m_list.remove(path);
        store();
        return;
    }
    m_open(path);
}

void RecentFilesMenu::store()
{
    m_settings.saveSetting(Section, Key, m_list.toStored());
    refresh();
}

void RecentFilesMenu::refresh()
{
    const QStringList &paths = m_list.paths();
    for (std::size_t k = 0; k < m_actions.recentFiles.size(); ++k) {
        QAction *item = m_actions.recentFiles[k];
        const bool used = qsizetype(k) < paths.size();
        const QString path = used ? QDir::toNativeSeparators(paths[qsizetype(k)]) : QString();
        item->setText(used ? RecentFiles::menuText(int(k), paths[qsizetype(k)]) : QString());
        item->setToolTip(path);
        item->setStatusTip(path);
        item->setVisible(used);
    }
    m_actions.recentSeparator->setVisible(!paths.isEmpty());
}

}  // namespace tunara::ui

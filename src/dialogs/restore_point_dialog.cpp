#include "dialogs/restore_point_dialog.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLocale>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tunara::ui {

RestorePointDialog::RestorePointDialog(const QList<restore::Entry> &entries, QWidget *parent)
    : QDialog(parent), m_list(new QTreeWidget(this))
{
    setObjectName(QStringLiteral("dlgRestorePoints"));
    setWindowTitle(QStringLiteral("Open Restore Point"));
    m_list->setObjectName(QStringLiteral("lstRestorePoints"));
    m_list->setHeaderLabels({QStringLiteral("Time"), QStringLiteral("Event"), QStringLiteral("Firmware"),
                             QStringLiteral("Table")});
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    for (const restore::Entry &e : entries) {
        auto *item = new QTreeWidgetItem(m_list, {e.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                                                  restore::eventText(e.event),
                                                  e.firmware.isEmpty() ? QStringLiteral("unknown") : e.firmware,
                                                  e.tableMode});
        item->setData(0, Qt::UserRole, e.path);
        item->setToolTip(0, e.path);
    }
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
    for (int c = 0; c < m_list->columnCount(); ++c)
        m_list->resizeColumnToContents(c);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Open | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(640, 360);
}

QString RestorePointDialog::chosenPath() const
{
    const QTreeWidgetItem *item = m_list->currentItem();
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

}  // namespace tunara::ui

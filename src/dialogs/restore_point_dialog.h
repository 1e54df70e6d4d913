#pragma once

#include "files/restore_points.h"

#include <QDialog>

class QTreeWidget;

namespace tunara::ui {

// "Open Restore Point": the kept images, newest first (time, event,
// firmware, table mode); OK or a double click chooses one.
class RestorePointDialog : public QDialog {
    Q_OBJECT
public:
    explicit RestorePointDialog(const QList<restore::Entry> &entries, QWidget *parent = nullptr);

    QTreeWidget *list() const { return m_list; }
    // The chosen file, "" when none is selected.
    QString chosenPath() const;

private:
    QTreeWidget *m_list;
};

}  // namespace tunara::ui

#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

#include <functional>

namespace tunara::views {

// The cell editor of the timing grids. It never writes a cell itself: a
// finished entry is handed to `commit`, which either takes it into the
// editing model (the grid is then refreshed from the model) or refuses it.
// A refused entry is reported once and the editor stays open with the text
// for correction; a modal message box taking the focus does not commit the
// editor a second time.
class TimingCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // Whether the text would be taken for the cell (row, column of the grid).
    using Check = std::function<bool(int row, int column, const QString &text)>;
    // Takes the text into the table (called only with a text Check accepts).
    using Commit = std::function<void(int row, int column, const QString &text)>;
    // Tells the user why an entry was refused.
    using Refuse = std::function<void()>;

    TimingCellDelegate(Check check, Commit commit, Refuse refuse, QObject *parent = nullptr);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

    // True while an open editor holds a refused text: the grid then keeps
    // the editor rather than move to another cell.
    bool holdsRefusedEntry() const;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    bool finishingKey(const QEvent *event) const;
    bool refuseIfWrong(QWidget *editor) const;

    Check m_check;
    Commit m_commit;
    Refuse m_refuse;
    mutable bool m_reporting = false;
    mutable QPointer<QWidget> m_refusedEditor;
    mutable QString m_refusedText;
};

}  // namespace tunara::views

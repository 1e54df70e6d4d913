#include "views/timing_cell_delegate.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace tunara::views {

namespace {

QString editorText(const QWidget *editor)
{
    const auto *line = qobject_cast<const QLineEdit *>(editor);
    return line ? line->text() : QString();
}

int cellRow(const QWidget *editor)
{
    return editor->property("tunaraRow").toInt();
}

int cellColumn(const QWidget *editor)
{
    return editor->property("tunaraColumn").toInt();
}

}  // namespace

TimingCellDelegate::TimingCellDelegate(Check check, Commit commit, Refuse refuse, QObject *parent)
    : QStyledItemDelegate(parent), m_check(std::move(check)), m_commit(std::move(commit)), m_refuse(std::move(refuse))
{
    // An editor given up (Esc) or closed takes its refused text with it.
    connect(this, &QAbstractItemDelegate::closeEditor, this, [this](QWidget *editor) {
        if (m_refusedEditor == editor)
            m_refusedEditor = nullptr;
    });
}

QWidget *TimingCellDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                          const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    editor->setProperty("tunaraRow", index.row());
    editor->setProperty("tunaraColumn", index.column());
    return editor;
}

bool TimingCellDelegate::refuseIfWrong(QWidget *editor) const
{
    const QString text = editorText(editor);
    if (m_check(cellRow(editor), cellColumn(editor), text))
        return false;
    // The same refused text is reported once, however many ways the grid
    // tries to commit it.
    if (m_refusedEditor == editor && m_refusedText == text)
        return true;
    m_refusedEditor = editor;
    m_refusedText = text;
    m_reporting = true;
    m_refuse();
    m_reporting = false;
    return true;
}

void TimingCellDelegate::setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &) const
{
    if (m_reporting || refuseIfWrong(editor))
        return;
    m_refusedEditor = nullptr;
    m_commit(cellRow(editor), cellColumn(editor), editorText(editor));
}

bool TimingCellDelegate::holdsRefusedEntry() const
{
    return m_refusedEditor && m_refusedText == editorText(m_refusedEditor);
}

bool TimingCellDelegate::finishingKey(const QEvent *event) const
{
    if (event->type() != QEvent::KeyPress)
        return false;
    switch (static_cast<const QKeyEvent *>(event)->key()) {
    case Qt::Key_Enter:
    case Qt::Key_Return:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return true;
    default:
        return false;
    }
}

bool TimingCellDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QWidget *>(object);
    if (!editor)
        return QStyledItemDelegate::eventFilter(object, event);
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        // Our own message box, another window or a menu took the focus:
        // the entry is neither committed nor refused, editing goes on.
        if (m_reporting || reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            return true;
        if (refuseIfWrong(editor)) {
            editor->setFocus();
            return true;
        }
    } else if (finishingKey(event) && refuseIfWrong(editor)) {
        editor->setFocus();
        return true;
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

}  // namespace tunara::views

#include "dialogs/note_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace tunara::ui {

NoteDialog::NoteDialog(const QString &point, const QString &note, int maxChars, QWidget *parent)
    : QDialog(parent),
      m_editor(new QPlainTextEdit(this)),
      m_count(new QLabel(this)),
      m_buttons(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)),
      m_maxChars(maxChars)
{
    setObjectName(QStringLiteral("dlgNote"));
    setWindowTitle(QStringLiteral("Note"));
    auto *heading = new QLabel(QStringLiteral("Note of the restore point %1 (customer, bike, what changed):").arg(point), this);
    heading->setWordWrap(true);
    m_editor->setObjectName(QStringLiteral("txtNote"));
    m_editor->setPlainText(note);
    m_editor->setTabChangesFocus(true);
    m_count->setObjectName(QStringLiteral("lblNoteCount"));
    connect(m_editor, &QPlainTextEdit::textChanged, this, &NoteDialog::updateCount);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_editor);
    layout->addWidget(m_count);
    layout->addWidget(m_buttons);
    updateCount();
    resize(480, 260);
}

QString NoteDialog::text() const
{
    return m_editor->toPlainText();
}

void NoteDialog::updateCount()
{
    const qsizetype used = m_editor->toPlainText().size();
    const bool fits = used <= m_maxChars;
    m_count->setText(fits ? QStringLiteral("%1 of %2 characters").arg(used).arg(m_maxChars)
                          : QStringLiteral("%1 characters: a note holds at most %2").arg(used).arg(m_maxChars));
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(fits);
}

}  // namespace tunara::ui

#pragma once

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QPlainTextEdit;

namespace tunara::ui {

// "Note": the note of a restore point (customer, bike, "before the exhaust
// change"), several lines if need be; OK stays off while the text is longer
// than a note may be.
class NoteDialog : public QDialog {
    Q_OBJECT
public:
    NoteDialog(const QString &point, const QString &note, int maxChars, QWidget *parent = nullptr);

    QString text() const;

private:
    void updateCount();

    QPlainTextEdit *m_editor;
    QLabel *m_count;
    QDialogButtonBox *m_buttons;
    int m_maxChars;
};

}  // namespace tunara::ui

#pragma once

#include "dialogs/new_2d_table_form.h"

#include <QDialog>

class QFormLayout;
class QLineEdit;
class QPushButton;

namespace tunara::ui {
class UserInterface;
}

namespace tunara::wizards {

// What the wizard needs of the main window.
class New2DTableHost {
public:
    virtual ~New2DTableHost() = default;
    virtual ui::UserInterface &userInterface() = 0;
    virtual int trigTiming() const = 0;
    // The 2D table is on view (its chart is shown).
    virtual bool isChart2DVisible() const = 0;
    // Save Timing Table Edits To Buffer.
    virtual void saveTable() = 0;
    // Takes the 2D chart and grid off the screen and resets the caption to
    // the window's base title.
    virtual void clearTableView() = 0;
    // Makes the curve and the trigger timing the module's, and shows them.
    virtual void showNewTable(const Table2D &table, int trigTiming) = 0;
};

// The new 2D table wizard: five entries, Update to try them on the chart
// behind it, OK to do the same once more and close.
class frmNew2DTable : public QDialog {
    Q_OBJECT
public:
    explicit frmNew2DTable(New2DTableHost &host, QWidget *parent = nullptr);

    // Run before the wizard is shown: centres the window, offers to save a
    // table on view before clearing it, then fills the boxes.
    void Form_Load();

    void cmdUpdate_Click();
    void cmdOK_Click();
    void CreateNewTable();

    const New2DTableForm &form() const { return m_form; }
    QLineEdit *box(const char *name) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    using Entry = std::optional<FieldMessage> (New2DTableForm::*)(const QString &);
    QLineEdit *addBox(QFormLayout *layout, const char *name, const QString &label, Entry entry);
    void validate(QLineEdit *box);
    // The text each box shows for the form's value.
    QStringList valueTexts() const;
    // Rewrites the boxes whose text differs from what `before` showed and
    // the box just checked; a box the user is still typing in is left alone.
    void showValues(const QStringList &before, const QLineEdit *checked);

    New2DTableHost &m_host;
    New2DTableForm m_form;
    QList<QPair<QLineEdit *, Entry>> m_boxes;
    bool m_validating = false;
};

}  // namespace tunara::wizards

// How the Tune History window fits its screen: the list and the comparison
// scroll above the buttons, which stay on view and take two rows where one
// row is wider than the screen.
#include "dialogs/tune_history_window.h"

#include "dialogs/screen_placement.h"
#include "dialogs/scrolling_layout.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace tunara::ui {

namespace {

constexpr int OneRow = 5;

}  // namespace

void TuneHistoryWindow::layOutWindow(QLayout *filterRow, QWidget *split)
{
    auto *content = new QWidget;
    auto *layout = new QVBoxLayout(content);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(filterRow);
    layout->addWidget(split, 1);
    layout->addWidget(m_problems);
    m_buttonRows = new QGridLayout;
    arrangeButtons(OneRow);
    dialogs::layOutScrolling(*this, content, m_buttonRows);
}

// The commands fill rows of `perRow`; Close ends the last row, at its right.
void TuneHistoryWindow::arrangeButtons(int perRow)
{
    const QList<QPushButton *> commands = {m_openButton, m_compare, m_upload, m_keep, m_note};
    for (QPushButton *b : commands)
        m_buttonRows->removeWidget(b);
    m_buttonRows->removeWidget(m_closeButton);
    for (int i = 0; i < commands.size(); ++i)
        m_buttonRows->addWidget(commands[i], i / perRow, i % perRow);
    m_buttonRows->addWidget(m_closeButton, int(commands.size() - 1) / perRow, perRow + 1);
    for (int c = 0; c <= OneRow + 1; ++c)
        m_buttonRows->setColumnStretch(c, c == perRow ? 1 : 0);
}

// Fitted before it is first shown: a window already on its way to the
// screen is placed by its own area, not its frame, and would lose its title
// bar above the screen.
void TuneHistoryWindow::setVisible(bool visible)
{
    if (visible && !m_fitted && !isVisible()) {
        m_fitted = true;
        fitToScreen();
    }
    QWidget::setVisible(visible);
}

// The design size where the screen has room, else the screen's usable area
// less the window manager's frame; centred there, title bar on the screen.
void TuneHistoryWindow::fitToScreen()
{
    const QWidget *owner = parentWidget();
    const QScreen *on = owner ? owner->screen() : screen();
    if (!on)
        return;
    const QRect available = on->availableGeometry();
    const QMargins frame = dialogs::frameMarginsOf(*this, owner);
    const QSize room = available.marginsRemoved(frame).size();
    // Fewer buttons to a row until the rows fit the screen's width.
    const int sideMargins = layout()->contentsMargins().left() + layout()->contentsMargins().right();
    for (int perRow = OneRow; perRow >= 1; perRow = perRow > 3 ? 3 : perRow - 1) {
        arrangeButtons(perRow);
        if (m_buttonRows->sizeHint().width() + sideMargins <= room.width())
            break;
    }
    // The window's minimum follows the new rows only once its layout has run.
    layout()->activate();
    const QSize fitted = DesignSize.boundedTo(room).expandedTo(minimumSizeHint().boundedTo(room));
    resize(fitted);
    const QSize outer = fitted.grownBy(frame);
    move(dialogs::centredWithin(available, outer).topLeft());
}

}  // namespace tunara::ui

#include "dialogs/scrolling_layout.h"

#include <QLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace tunara::dialogs {

namespace {

// QScrollArea's own hint stops at a few dozen lines of text; this one is
// the content's whole size, so the window's hint is its design size.
class WholeContentScrollArea : public QScrollArea {
public:
    using QScrollArea::QScrollArea;

    QSize sizeHint() const override
    {
        const int frame = 2 * frameWidth();
        const QSize content = widget() ? widget()->sizeHint().expandedTo(widget()->minimumSizeHint()) : QSize();
        return content + QSize(frame, frame);
    }

    // Room for the two scroll bars and a little content: the window may
    // shrink that far.
    QSize minimumSizeHint() const override
    {
        const int bar = verticalScrollBar()->sizeHint().width();
        return QSize(4 * bar, 3 * bar);
    }
};

}  // namespace

void layOutScrolling(QWidget &window, QWidget *content, QLayout *buttons)
{
    auto *scroll = new WholeContentScrollArea(&window);
    scroll->setObjectName(QStringLiteral("scrContent"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setWidget(content);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(scroll, 1);
    layout->addLayout(buttons);
}

}  // namespace tunara::dialogs

#include "app/elided_label.h"

#include <QFontMetricsF>
#include <QResizeEvent>
#include <QShowEvent>

#include <algorithm>
#include <cmath>

namespace tunara::ui {

ElidedLabel::ElidedLabel(QWidget *parent) : QLabel(parent)
{
    // The layout hands out the width; the shortened text must not feed back
    // into it.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

void ElidedLabel::setFullText(const QString &text)
{
    m_fullText = text;
    setToolTip(text);
    elide();
    updateGeometry();
}

QSize ElidedLabel::minimumSizeHint() const
{
    return {minimumWidth(), QLabel::minimumSizeHint().height()};
}

QSize ElidedLabel::sizeHint() const
{
    const QMargins m = contentsMargins();
    // At a fractional scale the text is a fraction of a pixel wider than
    // its whole-pixel advance: rounded up, a label given its hint shows the
    // whole text instead of shortening it.
    const int text = int(std::ceil(QFontMetricsF(font()).horizontalAdvance(m_fullText))) + 1;
    return {text + m.left() + m.right() + 2 * margin(),
            QLabel::sizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::showEvent(QShowEvent *event)
{
    QLabel::showEvent(event);
    elide();
}

void ElidedLabel::elide()
{
    // Off the screen the label has no width of its own yet: it holds the
    // whole text until it is shown and laid out.
    const int room = contentsRect().width() - 2 * margin();
    const QString shown =
        isVisible() ? fontMetrics().elidedText(m_fullText, Qt::ElideRight, std::max(0, room)) : m_fullText;
    if (shown != text())
        setText(shown);
}

}  // namespace tunara::ui

#include "app/elided_label.h"

#include <QResizeEvent>

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
    return {fontMetrics().horizontalAdvance(m_fullText) + m.left() + m.right() + 2 * margin(),
            QLabel::sizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent *event)
{
    QLabel::resizeEvent(event);
    elide();
}

void ElidedLabel::elide()
{
    const int room = contentsRect().width() - 2 * margin();
    const QString shown = fontMetrics().elidedText(m_fullText, Qt::ElideRight, std::max(0, room));
    if (shown != text())
        setText(shown);
}

}  // namespace tunara::ui

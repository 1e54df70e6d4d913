#pragma once

#include <QLabel>

namespace tunara::ui {

// A one-line label that shows as much of its text as its width allows and
// ends a shortened text with "…" instead of cutting a word in half. The
// layout decides the width; the whole text goes into the tooltip.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    void setFullText(const QString &text);
    QString fullText() const { return m_fullText; }

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void elide();

    QString m_fullText;
};

}  // namespace tunara::ui

#include "app/progress_frame.h"

#include <QProgressBar>

#include <algorithm>

namespace tunara::ui {

ProgressFrame::ProgressFrame(QWidget *parent)
    : QGroupBox(QStringLiteral("Programming"), parent), m_bar(new QProgressBar(this))
{
    setObjectName(QStringLiteral("fraProgress1"));
    m_bar->setObjectName(QStringLiteral("prgProgress1"));
    m_bar->setRange(0, 100);
    m_bar->setValue(0);
    m_bar->setTextVisible(false);
}

void ProgressFrame::showProgress(const QString &caption)
{
    setTitle(caption);
    m_bar->setValue(0);
    show();
    raise();
    repaint();
}

void ProgressFrame::setProgress(int percent)
{
    m_bar->setValue(std::clamp(percent, 0, 100));
    m_bar->repaint();
}

void ProgressFrame::hideProgress()
{
    hide();
}

}  // namespace tunara::ui

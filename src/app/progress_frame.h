#pragma once

#include "link/progress_display.h"

#include <QGroupBox>

class QProgressBar;

namespace tunara::ui {

// The "Programming" frame with its bar (0..100), shown while a transfer runs.
class ProgressFrame : public QGroupBox, public link::ProgressDisplay {
    Q_OBJECT
public:
    explicit ProgressFrame(QWidget *parent = nullptr);

    QProgressBar *bar() const { return m_bar; }

    void showProgress(const QString &caption) override;
    void setProgress(int percent) override;
    void hideProgress() override;

private:
    QProgressBar *m_bar;
};

}  // namespace tunara::ui

#pragma once

#include <QObject>

#include <functional>

class QMimeData;
class QWidget;

namespace tunara::ui {

class UserInterface;

// A data file dragged from a file manager onto the window opens as a recent
// file does. A drop of several files, a folder or anything that is not a
// local file is refused with a message saying why, and so is a file that
// is recognisably something else (a CSV file, a picture).
class DataFileDrop : public QObject {
    Q_OBJECT
public:
    using Open = std::function<void(const QString &path)>;

    DataFileDrop(QWidget &window, UserInterface &ui, Open open);

    // Empty when the drop names one local file, else why it is refused.
    static QString refusal(const QMimeData &mime);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget &m_window;
    UserInterface &m_ui;
    Open m_open;
};

}  // namespace tunara::ui

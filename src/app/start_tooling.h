#pragma once

#include "app/startup.h"

#include <QStringList>

class QPixmap;

namespace tunara::ui {

class frmTunara_Main;
class frmTunara_Splash;

// The files a run reads, which nothing it writes (a picture, a trace) may
// replace.
QStringList startInputs(const StartOptions &options);

// What the command line adds around an ordinary start: a data file opened at
// start-up (straight into a view with --open-in), and --screenshot's
// pictures of the splash and of the window, after which the run leaves. The
// start-up procedure calls it at its three points and knows nothing more.
class StartTooling {
public:
    explicit StartTooling(StartOptions options);

    // Before anything starts: false, with the reason printed, when a picture
    // asked for could not be written (no such format, a name the output
    // rules refuse).
    bool picturesWritable() const;
    // The splash is about to be shown: its picture is taken, then it closes.
    void beforeSplash(frmTunara_Splash &splash);
    // The window is shown: the data file is opened, and the picture of the
    // window (or of the dialog the file was opened into) is taken.
    void windowShown(frmTunara_Main &window);
    // A picture could not be written: the run fails.
    bool failed() const { return m_failed; }

private:
    void save(const QPixmap &picture, const QString &path);
    void takeWindowPicture(frmTunara_Main &window);

    StartOptions m_options;
    QStringList m_inputs;
    bool m_failed = false;
};

}  // namespace tunara::ui

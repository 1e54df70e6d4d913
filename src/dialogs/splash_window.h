#pragma once

#include "dialogs/error_dialog.h"
#include "files/config_file.h"

#include <QDialog>

class QFrame;
class QLabel;
class QTimer;

namespace tunara::ui {

// The start-up splash: company name, product, version and logo, branded by
// the configuration file; it closes itself after its timer runs out.
class frmTunara_Splash : public QDialog {
    Q_OBJECT
public:
    static constexpr int UnloadIntervalMs = 4000;

    frmTunara_Splash(UserInterface &ui, QString programFolder, int unloadIntervalMs = UnloadIntervalMs,
                     QWidget *parent = nullptr);

    // Reads the configuration file and applies its splash settings.
    void Form_Load();
    // Closes the splash (the timer's action).
    void tmrSplashUnload_Timer();

    // SplashSettings and CompanyInfo as read by the load.
    const config::CompanyConfig &company() const { return m_company; }

    QLabel *companyNameLabel() const { return m_lblCompanyName; }
    QLabel *logo() const { return m_imgLogo; }
    QTimer *unloadTimer() const { return m_tmrSplashUnload; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void readConfiguration();
    void loadLogo(const QString &item);

    UserInterface &m_ui;
    CommonErrorDialog m_errorDialog;
    QString m_programFolder;
    config::CompanyConfig m_company;
    QFrame *m_fraSplash;
    QLabel *m_imgLogo;
    QLabel *m_lblCompanyName;
    QTimer *m_tmrSplashUnload;
};

}  // namespace tunara::ui

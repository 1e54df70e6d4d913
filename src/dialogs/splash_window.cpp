#include "dialogs/splash_window.h"

#include "files/file_safety.h"
#include "views/window_layout.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QScreen>
#include <QTimer>

namespace tunara::ui {

namespace {

constexpr double ClientWidth = 7164;
constexpr double ClientHeight = 3732;

QLabel *label(QWidget *parent, const char *name, const QString &text, const views::TwipsRect &r, double tpp)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setGeometry(views::twipsToPixels(r.left, tpp), views::twipsToPixels(r.top, tpp), views::twipsToPixels(r.width, tpp),
                   views::twipsToPixels(r.height, tpp));
    return l;
}

QFont arial(double points, bool bold, bool italic = false)
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

// The largest size up to the font's own at which the text fits the width.
QFont fitted(QFont font, const QString &text, int width)
{
    while (font.pointSizeF() > 6 && QFontMetrics(font).horizontalAdvance(text) > width)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    return font;
}

}  // namespace

frmTunara_Splash::frmTunara_Splash(UserInterface &ui, QString programFolder, int unloadIntervalMs, QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::FramelessWindowHint),
      m_ui(ui),
      m_errorDialog(ui, this),
      m_programFolder(std::move(programFolder)),
      m_tmrSplashUnload(new QTimer(this))
{
    setObjectName(QStringLiteral("frmTunara_Splash"));
    setModal(true);
    const double tpp = views::twipsPerPixelAt(logicalDpiY());
    setFixedSize(views::twipsToPixels(ClientWidth, tpp), views::twipsToPixels(ClientHeight, tpp));

    m_fraSplash = new QFrame(this);
    m_fraSplash->setObjectName(QStringLiteral("fraSplash"));
    m_fraSplash->setFrameShape(QFrame::Box);
    m_fraSplash->setLineWidth(2);
    m_fraSplash->setGeometry(rect());

    m_imgLogo = label(m_fraSplash, "imgLogo", QString(), {360, 600, 1485, 900}, tpp);
    m_imgLogo->setScaledContents(true);
    m_lblCompanyName = label(m_fraSplash, "lblCompanyName", QStringLiteral("Halvern Zazorer"), {2160, 480, 4716, 1332}, tpp);
    m_lblCompanyName->setFont(arial(28, true, true));
    m_lblCompanyName->setWordWrap(true);
    // The design widths fit Arial; where another face stands in for it, the
    // labels may run on to the frame's right edge instead of being cut.
    const double toEdge = ClientWidth - 120;
    QLabel *product =
        label(m_fraSplash, "lblProductName", QStringLiteral("Tunara Torvik Zoruro"), {2640, 2040, toEdge - 2640, 600}, tpp);
    product->setFont(fitted(arial(20, true), product->text(), product->width()));
    label(m_fraSplash, "lblVersion", QStringLiteral("Version 1.0"), {3600, 2880, toEdge - 3600, 288}, tpp)
        ->setFont(arial(12, true));
    label(m_fraSplash, "lblCopyright", QStringLiteral("Copyright (c) 2026 Halvern Zazorer"),
          {3600, 3240, toEdge - 3600, 252}, tpp)
        ->setFont(arial(8, false));

    m_tmrSplashUnload->setObjectName(QStringLiteral("tmrSplashUnload"));
    m_tmrSplashUnload->setSingleShot(true);
    m_tmrSplashUnload->setInterval(unloadIntervalMs);
    connect(m_tmrSplashUnload, &QTimer::timeout, this, &frmTunara_Splash::tmrSplashUnload_Timer);

    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void frmTunara_Splash::Form_Load()
{
    // Each step under the common error dialog; Abort ends the load, and the
    // splash is still shown and closed by its timer.
    const auto step = [this](const std::function<void()> &body) {
        return runTrapped(m_errorDialog, body) != StepOutcome::Aborted;
    };
    if (!step([this] { readConfiguration(); }))
        return;
    const QStringList &s = m_company.SplashSettings;
    QFont font = m_lblCompanyName->font();
    if (!step([&] { m_lblCompanyName->setText(config::splashItem(s, 1)); }))
        return;
    if (!step([&] { font.setFamily(config::splashItem(s, 2)); }))
        return;
    if (!step([&] {
            // A size without a number reads as 0, which no font has: the
            // design size stays.
            const double size = config::fontSizeOf(config::splashItem(s, 3));
            if (size > 0)
                font.setPointSizeF(size);
        }))
        return;
    if (!step([&] {
            const QString style = config::splashItem(s, 4);
            font.setBold(config::isBold(style));
            font.setItalic(config::isItalic(style));
        }))
        return;
    m_lblCompanyName->setFont(font);
    if (!step([&] { loadLogo(config::splashItem(s, 5)); }))
        return;
    QCoreApplication::setApplicationName(QStringLiteral("Tunara_Kelm_Splash"));
}

void frmTunara_Splash::readConfiguration()
{
    m_company = config::read(QDir(m_programFolder).filePath(config::fileName()));
    if (m_company.error) {
        const QString why = *m_company.error;
        // What could be read stays in place for Ignore.
        m_company.error.reset();
        throw RuntimeError(BadFileErrorNumber, QStringLiteral("frmTunara_Splash"), why);
    }
}

void frmTunara_Splash::loadLogo(const QString &item)
{
    m_imgLogo->clear();
    const std::optional<QString> file = config::logoFileOf(item);
    if (!file)
        return;
    const QString path = QDir(m_programFolder).filePath(*file);
    QByteArray bytes;
    try {
        bytes = files::readInput(path, files::LogoCap, QStringLiteral("logo picture"));
    } catch (const files::FileRefused &e) {
        if (e.cause() == files::FileRefused::Cause::Missing)
            throw RuntimeError(FileNotFoundErrorNumber, QStringLiteral("frmTunara_Splash"),
                               QStringLiteral("The logo picture %1 was not found.").arg(QDir::toNativeSeparators(path)));
        throw RuntimeError(InvalidPictureErrorNumber, QStringLiteral("frmTunara_Splash"),
                           QStringLiteral("The logo picture %1 cannot be read: %2.")
                               .arg(QDir::toNativeSeparators(path), e.reason()));
    }
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer);
    const QImage image = reader.read();
    if (image.isNull())
        throw RuntimeError(InvalidPictureErrorNumber, QStringLiteral("frmTunara_Splash"),
                           QStringLiteral("The logo picture %1 cannot be read: %2.")
                               .arg(QDir::toNativeSeparators(path), reader.errorString()));
    m_imgLogo->setPixmap(QPixmap::fromImage(image));
}

void frmTunara_Splash::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The four seconds count from when the splash is on screen, so an error
    // box during the load cannot eat them (or close the splash before it
    // ever shows).
    if (!m_tmrSplashUnload->isActive())
        m_tmrSplashUnload->start();
}

void frmTunara_Splash::tmrSplashUnload_Timer()
{
    m_tmrSplashUnload->stop();
    accept();
}

}  // namespace tunara::ui

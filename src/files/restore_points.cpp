#include "files/restore_points.h"

#include "core/runtime_error.h"
#include "files/data_file.h"
#include "files/stored_settings.h"
#include "module/parameter_codec.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace tunara::restore {

namespace {

const QString TimeFormat = QStringLiteral("yyyyMMdd-HHmmss-zzz");

struct EventName {
    Event event;
    const char *key;   // in the file name
    const char *text;  // in lists
};

constexpr EventName EventNames[] = {
    {Event::Downloaded, "downloaded", "Downloaded"},
    {Event::BeforeUpload, "before-upload", "Before upload"},
    {Event::BeforeDownload, "before-download", "Before download"},
    {Event::BeforeOpen, "before-open", "Before open"},
    {Event::ModuleBeforeUpload, "module-before-upload", "Module before upload"},
};

const EventName &nameOf(Event event)
{
    return *std::find_if(std::begin(EventNames), std::end(EventNames),
                         [event](const EventName &n) { return n.event == event; });
}

// Firmware text as a file-name part: letters, digits, dots and dashes kept,
// spaces as "+" (read back as spaces), anything else as "-" ("_" separates
// the parts); "unknown" when there is none.
QString firmwarePart(const QString &firmware)
{
    QString part;
    for (const QChar c : firmware.trimmed()) {
        if (c == u' ')
            part += u'+';
        else
            part += (c.isLetterOrNumber() && c.unicode() < 128) || c == u'.' || c == u'-' ? c : u'-';
    }
    return part.isEmpty() ? QStringLiteral("unknown") : part;
}

QString tableModeOf(const QString &path)
{
    try {
        ModuleData data;
        if (!datafile::fillImage(datafile::read(path), data.image))
            return QStringLiteral("unreadable");
        UpdateParams(data);
        return data.params.TimingTable3D ? QStringLiteral("3D")
               : data.params.TimingTable2D ? QStringLiteral("2D")
                                           : QStringLiteral("none");
    } catch (const RuntimeError &) {
        return QStringLiteral("unreadable");
    }
}

const QRegularExpression &namePattern()
{
    static const QRegularExpression re(
        QStringLiteral("^(\\d{8}-\\d{6}-\\d{3})(?:-\\d+)?_([a-z-]+)_([A-Za-z0-9.+-]+)\\.dat$"));
    return re;
}

}  // namespace

QString eventText(Event event)
{
    return QString::fromLatin1(nameOf(event).text);
}

QString RestorePoints::defaultFolder()
{
    // The window's application data folder, named explicitly so that the
    // command-line tool (another application name) finds the same one.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u'/' +
           StoredSettings::mainApplicationName() + QStringLiteral("/restore-points");
}

RestorePoints::RestorePoints(const QString &folder) : m_folder(folder.isEmpty() ? defaultFolder() : folder) {}

QString RestorePoints::keep(const QByteArray &bytes, Event event, const QString &firmware, const QDateTime &when)
{
    if (bytes.size() != datafile::Size)
        throw RuntimeError(FileErrorNumber, QStringLiteral("Restore Point"),
                           QStringLiteral("A restore point needs %1 bytes, not %2.").arg(datafile::Size).arg(bytes.size()));
    if (!QDir().mkpath(m_folder))
        throw RuntimeError(FileErrorNumber, QStringLiteral("Restore Point"),
                           QStringLiteral("Cannot create the restore point folder %1.").arg(m_folder));
    const QString stem = when.toString(TimeFormat);
    const QString tail = u'_' + QString::fromLatin1(nameOf(event).key) + u'_' + firmwarePart(firmware) +
                         QStringLiteral(".dat");
    QString path = QDir(m_folder).filePath(stem + tail);
    // Two images kept within one millisecond each get their own file.
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(m_folder).filePath(stem + QStringLiteral("-%1").arg(n) + tail);
    ModuleImage image;
    std::copy(bytes.cbegin(), bytes.cend(), image.EEPROMBuffer.begin() + ModuleImage::FirstTransferAddress);
    datafile::write(path, image);
    prune();
    return path;
}

QList<Entry> RestorePoints::list() const
{
    QList<Entry> entries;
    const QDir dir(m_folder);
    // Names start with the time, so name order is time order.
    const QStringList names = dir.entryList({QStringLiteral("*.dat")}, QDir::Files, QDir::Name | QDir::Reversed);
    for (const QString &name : names) {
        const QRegularExpressionMatch m = namePattern().match(name);
        if (!m.hasMatch())
            continue;
        const auto *event = std::find_if(std::begin(EventNames), std::end(EventNames), [&](const EventName &n) {
            return m.captured(2) == QLatin1String(n.key);
        });
        if (event == std::end(EventNames))
            continue;
        Entry e;
        e.path = dir.filePath(name);
        e.time = QDateTime::fromString(m.captured(1), TimeFormat);
        e.event = event->event;
        e.firmware = m.captured(3) == QLatin1String("unknown") ? QString() : m.captured(3).replace(u'+', u' ');
        e.tableMode = tableModeOf(e.path);
        entries << e;
    }
    return entries;
}

void RestorePoints::prune() const
{
    const QDir dir(m_folder);
    QStringList kept;
    for (const QString &name : dir.entryList({QStringLiteral("*.dat")}, QDir::Files, QDir::Name | QDir::Reversed))
        if (namePattern().match(name).hasMatch())
            kept << name;
    for (qsizetype k = Kept; k < kept.size(); ++k)
        QFile::remove(dir.filePath(kept[k]));
}

}  // namespace tunara::restore

// What is recorded beside a restore point: where its image came from, the
// user's note, the point's bytes as an open decodes them, and the folder.
#include "files/restore_points.h"

#include "core/runtime_error.h"
#include "files/data_file.h"
#include "files/restore_index.h"
#include "files/stored_settings.h"
#include "module/module_document.h"
#include "module/parameter_codec.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tunara::restore {

Source Source::file(const QString &path)
{
    const QFileInfo info(path);
    Source s;
    s.kind = Kind::File;
    s.fileName = info.fileName();
    s.folder = info.absolutePath();
    return s;
}

Source Source::module(int port, const QString &device)
{
    Source s;
    s.kind = Kind::Module;
    s.port = port;
    s.device = device;
    return s;
}

Source Source::program()
{
    Source s;
    s.kind = Kind::Program;
    return s;
}

QString Source::text() const
{
    // Paths in the home folder start with "~", as the user knows them from a shell.
    const QString home = QDir::homePath();
    const auto shown = [&home](const QString &path) {
        return QDir::toNativeSeparators(path == home                  ? QStringLiteral("~")
                                        : path.startsWith(home + u'/') ? u'~' + path.mid(home.size())
                                                                      : path);
    };
    switch (kind) {
    case Kind::File: return QStringLiteral("%1 (%2)").arg(fileName, shown(folder));
    case Kind::Module:
        // A port with no device of its own names itself "Com<n>".
        if (port > 0 && !device.isEmpty() && device != QStringLiteral("Com%1").arg(port))
            return QStringLiteral("Com%1 (%2)").arg(port).arg(shown(device));
        if (port > 0)
            return QStringLiteral("Com%1").arg(port);
        return device.isEmpty() ? QStringLiteral("a module (port not recorded)") : shown(device);
    case Kind::Program: return QStringLiteral("made in the program");
    case Kind::Unknown: break;
    }
    return QStringLiteral("not recorded");
}

Origin originOf(const DataSource &source)
{
    switch (source.kind) {
    case DataSource::Kind::File: return {Source::file(source.path), QString()};
    case DataSource::Kind::Module: return {Source::module(source.port, source.device), source.firmware};
    case DataSource::Kind::Empty: break;
    }
    return {Source::program(), QString()};
}

QString normalisedNote(const QString &text)
{
    if (text.contains(QChar::ReplacementCharacter))
        throw index::restoreError(QStringLiteral("The note holds bytes that are not UTF-8 text; nothing was changed."));
    QString note;
    note.reserve(text.size());
    for (qsizetype k = 0; k < text.size(); ++k) {
        const QChar c = text[k];
        if (c == u'\r') {
            note += u'\n';
            if (k + 1 < text.size() && text[k + 1] == u'\n')
                ++k;
        } else if (c == u'\n') {
            note += c;
        } else {
            note += c.category() == QChar::Other_Control ? QChar(u' ') : c;
        }
    }
    // Blank lines and spaces at either end go; those inside stay.
    note = note.trimmed();
    if (note.size() > RestorePoints::MaxNoteChars)
        throw index::restoreError(QStringLiteral("A note holds at most %1 characters; this one has %2. Nothing was changed.")
                               .arg(RestorePoints::MaxNoteChars)
                               .arg(note.size()));
    return note;
}

QString noteLine(const QString &note)
{
    QStringList lines = note.split(u'\n');
    for (QString &line : lines) {
        // An index edited by hand may hold what a kept note never does.
        for (QChar &c : line)
            if (c.category() == QChar::Other_Control)
                c = u' ';
        line = line.trimmed();
    }
    lines.removeAll(QString());
    return lines.join(QStringLiteral(" / "));
}

ModuleData decodePoint(const QByteArray &bytes)
{
    ModuleData data;
    data.image.ClearEEPROMBuffer();
    datafile::fillImage(bytes, data.image);
    data.image.DataBufferEmpty = false;
    UpdateParams(data);
    return data;
}

// The folder the points are kept in.
QString RestorePoints::defaultFolder()
{
    // The window's application data folder, named explicitly so that the
    // command-line tool (another application name) finds the same one.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + u'/' +
           StoredSettings::mainApplicationName() + QStringLiteral("/restore-points");
}

RestorePoints::RestorePoints(const QString &folder) : m_folder(folder.isEmpty() ? defaultFolder() : folder) {}

bool RestorePoints::isFolder(const QString &path) const
{
    const QString canonical = QFileInfo(m_folder).canonicalFilePath();
    const QFileInfo info(path);
    return info.absoluteFilePath() == QFileInfo(m_folder).absoluteFilePath() ||
           (!canonical.isEmpty() && info.canonicalFilePath() == canonical);
}

bool RestorePoints::holds(const QString &path) const
{
    return isFolder(path) || isFolder(QFileInfo(path).absolutePath());
}

}  // namespace tunara::restore

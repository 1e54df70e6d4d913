#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <optional>
#include <sys/types.h>

// The rules every file the program reads or writes goes through.
//
// Input: a regular file (a link to one counts), opened without blocking on
// a pipe, no larger than the cap of its kind.
// Output: never one of the command's own inputs (same device and inode),
// never anything but a regular file or a new name, never through a link
// planted at the name; whole files go through a temporary file in the same
// folder and a rename, so the old file stays whole until the new one is.
namespace tunara::files {

inline constexpr qint64 DataFileCap = 264;
inline constexpr qint64 CsvCap = 16 * 1024 * 1024;
inline constexpr qint64 TextCap = 1024 * 1024;  // configuration, templates, help
inline constexpr qint64 LogoCap = 4 * 1024 * 1024;

// Why a file was refused; reason() is the text after "PATH: ".
class FileRefused {
public:
    enum class Cause { Missing, BrokenLink, Folder, NotRegular, TooLarge, IsInput, SymLink, FolderReadOnly, System };
    FileRefused(Cause cause, QString reason) : m_cause(cause), m_reason(std::move(reason)) {}
    Cause cause() const { return m_cause; }
    const QString &reason() const { return m_reason; }

private:
    Cause m_cause;
    QString m_reason;
};

struct FileId {
    dev_t device = 0;
    ino_t inode = 0;
    bool operator==(const FileId &) const = default;
};

// The file a name leads to (links followed), nothing when none.
std::optional<FileId> fileId(const QString &path);

// The system's reason for errno, worded for a file name: an invalid name
// encoding, a name too long and a link loop are named as such.
QString reasonFor(int error, const QString &path);

// Input rule. Reads the whole file; a larger one than cap is refused, or
// with truncate only its first cap bytes are read. Throws FileRefused.
QByteArray readInput(const QString &path, qint64 cap, const QString &noun, bool truncate = false);

// Output rule, checked before anything is sent or overwritten. Throws
// FileRefused naming the cause.
void checkOutput(const QString &path, const QStringList &inputs = {});

// A whole file written beside its target and renamed over it on commit();
// dropped unless committed. mode is the new file's permission (umask applies).
// A folder that takes no new file is refused as FolderReadOnly, naming the
// folder: replacing a file needs its folder writable, not only the file.
class AtomicFile {
public:
    AtomicFile(const QString &path, const QStringList &inputs = {}, mode_t mode = 0666);
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    QIODevice &device() { return m_file; }
    // Flushes, syncs and renames; throws FileRefused on failure, leaving the
    // target as it was.
    void commit();

private:
    QString m_path;
    QStringList m_inputs;
    QString m_temp;
    QFile m_file;
    bool m_done = false;
};

void writeWhole(const QString &path, const QByteArray &bytes, const QStringList &inputs = {}, mode_t mode = 0666);

// A file for a stream (a trace): created new without following a link at
// the name, or replacing a regular file that is not an input. The QFile is
// open for writing on return; throws FileRefused.
void createStream(QFile &file, const QString &path, const QStringList &inputs = {}, mode_t mode = 0666);

// Creates name exclusively (never an existing file or link); false when the
// name is taken, throws FileRefused on any other failure.
bool createExclusive(QFile &file, const QString &path, mode_t mode);

}  // namespace tunara::files

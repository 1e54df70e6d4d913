#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace tunara {

// The data files last opened or saved, newest first, at most Capacity of
// them. Only plain absolute paths are kept: a stored list that was edited by
// hand (empty names, names with line breaks, relative names, duplicates, any
// length) is cut down to what the File menu can offer.
class RecentFiles {
public:
    static constexpr int Capacity = 8;

    RecentFiles() = default;
    explicit RecentFiles(const QStringList &stored);

    const QStringList &paths() const { return m_paths; }

    // The path goes to the top; it leaves its old place and the oldest path
    // drops off the end. A path that cannot be kept is ignored.
    void add(const QString &path);
    void remove(const QString &path);
    // Keeps only the paths the test accepts (e.g. drops directories).
    void prune(const std::function<bool(const QString &)> &keep);

    // The one-line form for the settings store and back.
    QString toStored() const;
    static RecentFiles fromStored(const QString &text);

    // "&1 name.dat": the access key is the place in the list; an "&" in the
    // name is doubled so it shows as itself.
    static QString menuText(int index, const QString &path);

    static bool isKeepable(const QString &path);

private:
    QStringList m_paths;
};

}  // namespace tunara

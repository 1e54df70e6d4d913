#include "files/recent_files.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace tunara {

namespace {

QString normalised(const QString &path)
{
    return QDir::cleanPath(path);
}

}  // namespace

RecentFiles::RecentFiles(const QStringList &stored)
{
    // Oldest first, so the newest ends at the top.
    for (auto it = stored.crbegin(); it != stored.crend(); ++it)
        add(*it);
}

bool RecentFiles::isKeepable(const QString &path)
{
    if (path.trimmed().isEmpty() || !QDir::isAbsolutePath(path))
        return false;
    return std::none_of(path.cbegin(), path.cend(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

void RecentFiles::add(const QString &path)
{
    if (!isKeepable(path))
        return;
    const QString clean = normalised(path);
    m_paths.removeAll(clean);
    m_paths.prepend(clean);
    while (m_paths.size() > Capacity)
        m_paths.removeLast();
}

void RecentFiles::remove(const QString &path)
{
    m_paths.removeAll(normalised(path));
}

void RecentFiles::prune(const std::function<bool(const QString &)> &keep)
{
    m_paths.removeIf([&keep](const QString &p) { return !keep(p); });
}

QString RecentFiles::toStored() const
{
    return m_paths.join(u'\n');
}

RecentFiles RecentFiles::fromStored(const QString &text)
{
    return RecentFiles(text.split(u'\n'));
}

QString RecentFiles::menuText(int index, const QString &path)
{
    QString name = QFileInfo(path).fileName();
    return QStringLiteral("&%1 %2").arg(index + 1).arg(name.replace(u'&', QStringLiteral("&&")));
}

}  // namespace tunara

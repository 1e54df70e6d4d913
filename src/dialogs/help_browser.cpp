#include "dialogs/help_browser.h"

#include "files/file_safety.h"

#include <QTextDocument>

namespace tunara::ui {

QVariant HelpBrowser::loadResource(int type, const QUrl &name)
{
    const QUrl url = name.isRelative() && source().isValid() ? source().resolved(name) : name;
    if (!url.isLocalFile())
        return QTextBrowser::loadResource(type, name);
    const qint64 cap = type == QTextDocument::ImageResource ? files::LogoCap : files::TextCap;
    try {
        return files::readInput(url.toLocalFile(), cap, QStringLiteral("help file"));
    } catch (const files::FileRefused &) {
        return {};  // shown as a missing page or picture
    }
}

}  // namespace tunara::ui

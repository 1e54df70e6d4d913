#pragma once

#include <QTextBrowser>

namespace tunara::ui {

// The help's page viewer: pages, style sheets and pictures of local files
// are read under the input rule (regular files of a bounded size, never a
// pipe), so a planted file cannot hang the window or fill its memory.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl &name) override;
};

}  // namespace tunara::ui

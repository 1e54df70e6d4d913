#pragma once

#include <QColor>
#include <QString>

#include <optional>

namespace tunara::charts {

// Appearance of a timing chart, kept in the template files of the program
// folder (.oc2 for the 2D chart, .oc3 for the 3D chart). The files are small
// JSON documents of ours:
//
//   { "format": "tunara-chart-template", "version": 1, "kind": "2d",
//     "title": "...", "background": "#ffffff",
//     "xAxis": {"title": "...", "min": 0, "max": 10000, "ticks": 11}, ...}
//
// Colours are "#rrggbb"; missing appearance keys keep their defaults, but
// "format", "version" and "kind" must be right.
struct ChartAxis {
    QString title;
    double min = 0;
    double max = 0;
    int ticks = 5;  // labelled positions along the axis, ends included
};

struct ChartTemplate {
    enum class Kind { Chart2D, Chart3D };
    Kind kind = Kind::Chart2D;
    QString title;
    QColor background = Qt::white;
    QColor plotBackground = Qt::white;
    QColor gridColor = QColor(0xc8, 0xc8, 0xc8);
    ChartAxis xAxis;  // engine speed
    ChartAxis yAxis;  // 2D: advance; 3D: manifold pressure
    ChartAxis zAxis;  // 3D only: advance
    // 2D: the advance curve and the trigger-timing line.
    QColor curveColor = QColor(0xc0, 0x00, 0x00);
    QColor triggerColor = QColor(0x00, 0x50, 0xb0);
    QString curveName;
    QString triggerName;
    // 3D: surface colours from the lowest to the highest advance, and the view.
    QColor surfaceLow = QColor(0x20, 0x60, 0xc0);
    QColor surfaceHigh = QColor(0xe0, 0x30, 0x20);
    double rotation = 35;   // degrees about the vertical axis
    double elevation = 25;  // degrees above the floor
};

struct TemplateResult {
    std::optional<ChartTemplate> chartTemplate;
    bool missing = false;  // the file does not exist
    QString error;         // why a file that exists could not be used
};

TemplateResult loadChartTemplate(const QString &path, ChartTemplate::Kind expected);

// Parses the text of a template file; error set when it is not one.
TemplateResult parseChartTemplate(const QByteArray &json, ChartTemplate::Kind expected);

// The message of a template that did not load: "Chart template file <name>
// not found." when there is none; a file that is there but unusable is
// named as such with the reason, so the user is not sent looking for a file
// that exists.
QString templateFailureText(const QString &fileName, const TemplateResult &result);

}  // namespace tunara::charts

#include "charts/chart_template.h"

#include "files/file_safety.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace tunara::charts {

namespace {

const QString Format = QStringLiteral("tunara-chart-template");
constexpr int Version = 1;
// What a chart can draw: a label every few pixels at most, and values far
// beyond any speed, pressure or advance, but finite.
constexpr int MaxTicks = 101;
constexpr double MaxMagnitude = 1e6;

TemplateResult failure(const QString &why)
{
    TemplateResult r;
    r.error = why;
    return r;
}

void readColor(const QJsonObject &o, const char *key, QColor &target, QStringList &problems)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined())
        return;
    const QColor c = QColor::fromString(v.toString());
    if (!v.isString() || !c.isValid()) {
        problems << QStringLiteral("\"%1\" is not a colour").arg(QLatin1String(key));
        return;
    }
    target = c;
}

void readAxis(const QJsonObject &o, const char *key, ChartAxis &axis, QStringList &problems)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (v.isUndefined())
        return;
    if (!v.isObject()) {
        problems << QStringLiteral("\"%1\" is not an axis").arg(QLatin1String(key));
        return;
    }
    const QJsonObject a = v.toObject();
    axis.title = a.value(QStringLiteral("title")).toString(axis.title);
    axis.min = a.value(QStringLiteral("min")).toDouble(axis.min);
    axis.max = a.value(QStringLiteral("max")).toDouble(axis.max);
    axis.ticks = a.value(QStringLiteral("ticks")).toInt(axis.ticks);
    if (!(axis.max > axis.min))
        problems << QStringLiteral("axis \"%1\" has no range (max must be above min)").arg(QLatin1String(key));
    else if (!(axis.min >= -MaxMagnitude && axis.max <= MaxMagnitude))
        problems << QStringLiteral("axis \"%1\" reaches beyond %2").arg(QLatin1String(key)).arg(MaxMagnitude);
    if (axis.ticks < 2)
        problems << QStringLiteral("axis \"%1\" needs at least 2 ticks").arg(QLatin1String(key));
    else if (axis.ticks > MaxTicks)
        problems << QStringLiteral("axis \"%1\" has more than %2 ticks").arg(QLatin1String(key)).arg(MaxTicks);
}

}  // namespace

TemplateResult parseChartTemplate(const QByteArray &json, ChartTemplate::Kind expected)
{
    QJsonParseError parseError{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (doc.isNull())
        return failure(QStringLiteral("not a JSON document (%1 at character %2)")
                           .arg(parseError.errorString())
                           .arg(parseError.offset));
    if (!doc.isObject())
        return failure(QStringLiteral("not a JSON object"));
    const QJsonObject o = doc.object();
    if (o.value(QStringLiteral("format")).toString() != Format)
        return failure(QStringLiteral("not a chart template (\"format\" must be \"%1\")").arg(Format));
    if (o.value(QStringLiteral("version")).toInt(-1) != Version)
        return failure(QStringLiteral("unsupported template version (this program reads version %1)").arg(Version));
    const QString kind = o.value(QStringLiteral("kind")).toString();
    const QString wanted = expected == ChartTemplate::Kind::Chart2D ? QStringLiteral("2d") : QStringLiteral("3d");
    if (kind != wanted)
        return failure(QStringLiteral("a template of kind \"%1\" where \"%2\" is needed").arg(kind, wanted));

    ChartTemplate t;
    t.kind = expected;
    QStringList problems;
    t.title = o.value(QStringLiteral("title")).toString();
    readColor(o, "background", t.background, problems);
    readColor(o, "plotBackground", t.plotBackground, problems);
    readColor(o, "gridColor", t.gridColor, problems);
    readAxis(o, "xAxis", t.xAxis, problems);
    readAxis(o, "yAxis", t.yAxis, problems);
    if (expected == ChartTemplate::Kind::Chart2D) {
        readColor(o, "curveColor", t.curveColor, problems);
        readColor(o, "triggerColor", t.triggerColor, problems);
        t.curveName = o.value(QStringLiteral("curveName")).toString();
        t.triggerName = o.value(QStringLiteral("triggerName")).toString();
    } else {
        readAxis(o, "zAxis", t.zAxis, problems);
        readColor(o, "surfaceLow", t.surfaceLow, problems);
        readColor(o, "surfaceHigh", t.surfaceHigh, problems);
        t.rotation = o.value(QStringLiteral("rotation")).toDouble(t.rotation);
        t.elevation = o.value(QStringLiteral("elevation")).toDouble(t.elevation);
        if (!(std::abs(t.rotation) <= 360 && std::abs(t.elevation) <= 90))
            problems << QStringLiteral("the view turns beyond 360 degrees or tilts beyond 90");
    }
    if (!problems.isEmpty())
        return failure(problems.join(QStringLiteral("; ")));
    TemplateResult r;
    r.chartTemplate = t;
    return r;
}

TemplateResult loadChartTemplate(const QString &path, ChartTemplate::Kind expected)
{
    try {
        return parseChartTemplate(files::readInput(path, files::TextCap, QStringLiteral("chart template")), expected);
    } catch (const files::FileRefused &e) {
        TemplateResult r = failure(e.reason());
        r.missing = e.cause() == files::FileRefused::Cause::Missing;
        return r;
    }
}

QString templateFailureText(const QString &fileName, const TemplateResult &result)
{
    if (result.missing)
        return QStringLiteral("Chart template file %1 not found.").arg(fileName);
    if (result.error.isEmpty())
        return QStringLiteral("Chart template file %1 cannot be used.").arg(fileName);
    return QStringLiteral("Chart template file %1 cannot be used: %2.").arg(fileName, result.error);
}

}  // namespace tunara::charts

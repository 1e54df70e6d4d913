#include "dialogs/tune_history_window.h"

#include "core/shown_numbers.h"
#include "dialogs/history_wording.h"
#include "views/difference_heat_map.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QKeyEvent>
#include <QPushButton>
#include <QSplitter>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tunara::ui {

namespace {

constexpr int PathRole = Qt::UserRole;
constexpr int TooltipNoteChars = 600;

QString dayText(const QDate &date)
{
    return date.isValid() ? numbers::longDate(date) : QStringLiteral("Date not known");
}

}  // namespace

// A window of its own above the main window, not a tool window: a tool
// window shares the main window's shortcuts, and the menu bar's access keys
// (Alt+C for Communications, Alt+F for File) would then clash with its own.
TuneHistoryWindow::TuneHistoryWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmTuneHistory"));
    setWindowTitle(QStringLiteral("Tune History"));
    buildControls();
    resize(DesignSize);
}

// Esc closes it, as it closes a dialog, from whichever control has the focus.
void TuneHistoryWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}

void TuneHistoryWindow::buildControls()
{
    m_filter = new QLineEdit(this);
    m_filter->setObjectName(QStringLiteral("txtHistoryFilter"));
    m_filter->setPlaceholderText(QStringLiteral("source, note or firmware"));
    m_filter->setClearButtonEnabled(true);
    auto *filterLabel = new QLabel(QStringLiteral("&Filter:"), this);
    filterLabel->setBuddy(m_filter);
    connect(m_filter, &QLineEdit::textChanged, this, &TuneHistoryWindow::applyFilter);

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("lstHistory"));
    m_list->setHeaderLabels({QStringLiteral("Time"), QStringLiteral("Event"), QStringLiteral("Source"),
                             QStringLiteral("Firmware"), QStringLiteral("Table"), QStringLiteral("Note"),
                             QStringLiteral("Against the open image")});
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    // The last column, "against the open image", takes what is left.
    const int widths[] = {100, 200, 190, 140, 45, 150};
    for (int c = 0; c < int(std::size(widths)); ++c)
        m_list->setColumnWidth(c, widths[c]);
    connect(m_list, &QTreeWidget::currentItemChanged, this, &TuneHistoryWindow::showSelected);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        if (const QString path = item->data(0, PathRole).toString(); !path.isEmpty() && m_openButton->isEnabled())
            emit openRequested(path);
    });

    m_problems = new QLabel(this);
    m_problems->setObjectName(QStringLiteral("lblHistoryProblems"));
    m_problems->setWordWrap(true);
    m_problems->hide();

    auto *details = new QWidget(this);
    m_point = new QLabel(details);
    m_point->setObjectName(QStringLiteral("lblHistoryPoint"));
    m_point->setWordWrap(true);
    m_point->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_summary = new QLabel(details);
    m_summary->setObjectName(QStringLiteral("lblHistorySummary"));
    m_summary->setWordWrap(true);
    m_heatMap = new views::DifferenceHeatMap(details);
    m_parameters = new QListWidget(details);
    m_parameters->setObjectName(QStringLiteral("lstHistoryParameters"));
    auto *legend = new QLabel(QStringLiteral("Cells in red: the open image advances more than the point; in blue: "
                                             "less. Parameters: the point's value → the open image's."),
                              details);
    legend->setWordWrap(true);
    auto *pictures = new QHBoxLayout;
    pictures->addWidget(m_heatMap, 3);
    pictures->addWidget(m_parameters, 2);
    auto *detailLayout = new QVBoxLayout(details);
    detailLayout->setContentsMargins(0, 0, 0, 0);
    detailLayout->addWidget(m_point);
    detailLayout->addWidget(m_summary);
    detailLayout->addLayout(pictures, 1);
    detailLayout->addWidget(legend);

    auto *split = new QSplitter(Qt::Vertical, this);
    split->addWidget(m_list);
    split->addWidget(details);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);

    const auto button = [this](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    m_openButton = button("cmdHistoryOpen", QStringLiteral("&Open"));
    m_compare = button("cmdHistoryCompare", QStringLiteral("&Compare With Open Table"));
    m_upload = button("cmdHistoryUpload", QStringLiteral("&Upload…"));
    m_keep = button("cmdHistoryKeep", QStringLiteral("&Keep"));
    m_keep->setCheckable(true);
    m_keep->setToolTip(QStringLiteral("A kept point is never pruned and does not count toward the newest %1.")
                           .arg(restore::RestorePoints::Kept));
    m_note = button("cmdHistoryNote", QStringLiteral("&Note…"));
    auto *close = button("cmdHistoryClose", QStringLiteral("Close"));
    const auto withPath = [this](auto signal) {
        return [this, signal] {
            if (const QString path = selectedPath(); !path.isEmpty())
                emit(this->*signal)(path);
        };
    };
    connect(m_openButton, &QPushButton::clicked, this, withPath(&TuneHistoryWindow::openRequested));
    connect(m_upload, &QPushButton::clicked, this, withPath(&TuneHistoryWindow::uploadRequested));
    connect(m_note, &QPushButton::clicked, this, withPath(&TuneHistoryWindow::noteRequested));
    connect(m_compare, &QPushButton::clicked, this, [this] {
        if (const restore::Entry *e = selectedEntry())
            emit compareRequested(e->path, compareName(*e));
    });
    connect(m_keep, &QPushButton::clicked, this, [this](bool on) {
        if (const QString path = selectedPath(); !path.isEmpty())
            emit keepRequested(path, on);
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto *top = new QHBoxLayout;
    top->addWidget(filterLabel);
    top->addWidget(m_filter, 1);
    m_closeButton = close;
    layOutWindow(top, split);
    updateButtons();
}

void TuneHistoryWindow::setListing(const restore::Listing &listing)
{
    m_rows.clear();
    for (const restore::Entry &e : listing.entries) {
        Row row{e, std::nullopt, std::nullopt, {}};
        if (e.readable())
            row.data = restore::decodePoint(e.bytes);
        m_rows << row;
    }
    m_problems->setText(listing.problems.join(u'\n'));
    m_problems->setVisible(!listing.problems.isEmpty());
    compareAll();
    rebuild();
}

void TuneHistoryWindow::setOpenImage(const std::optional<ModuleData> &open)
{
    m_open = open;
    compareAll();
    for (const Row &row : m_rows)
        if (QTreeWidgetItem *item = itemOf(row.entry.path)) {
            item->setText(AgainstColumn, againstText(row));
            item->setToolTip(AgainstColumn, againstText(row));
        }
    showSelected();
}

void TuneHistoryWindow::setCanCompare(bool can, const QString &why)
{
    m_canCompare = can;
    m_cannotCompare = why;
    updateButtons();
}

void TuneHistoryWindow::compareAll()
{
    for (Row &row : m_rows) {
        row.diff.reset();
        if (row.data && m_open) {
            row.diff = compare::diffImages(*row.data, *m_open);
            row.summary = compare::summarise(*row.diff, *row.data, *m_open);
        }
    }
}

QString TuneHistoryWindow::againstText(const Row &row) const
{
    if (!row.entry.readable())
        return QStringLiteral("cannot read: %1").arg(row.entry.problem);
    return row.diff ? row.summary.text(QLocale()) : QString();
}

void TuneHistoryWindow::rebuild()
{
    const QString selected = selectedPath();
    const QSignalBlocker quiet(m_list);
    m_list->clear();
    QTreeWidgetItem *day = nullptr;
    for (const Row &row : m_rows) {
        const restore::Entry &e = row.entry;
        if (!day || day->data(0, PathRole + 1).toDate() != e.time.date()) {
            day = new QTreeWidgetItem(m_list, {dayText(e.time.date())});
            day->setData(0, PathRole + 1, e.time.date());
            day->setFirstColumnSpanned(true);
            day->setFlags(Qt::ItemIsEnabled);
            QFont bold = day->font(0);
            bold.setBold(true);
            day->setFont(0, bold);
        }
        const QString note = restore::noteLine(e.note);
        auto *item = new QTreeWidgetItem(day, {numbers::timeOfDay(e.time.time()),
                                               history::pointWording(e) + (e.kept ? QStringLiteral(", kept") : QString()),
                                               e.source.text(), e.firmwareText(), e.tableMode, note,
                                               againstText(row)});
        item->setData(0, PathRole, e.path);
        item->setToolTip(TimeColumn, e.path);
        item->setToolTip(EventColumn, item->text(EventColumn));
        item->setToolTip(SourceColumn, e.source.text());
        if (!e.note.isEmpty())
            item->setToolTip(NoteColumn, e.note.size() > TooltipNoteChars ? e.note.left(TooltipNoteChars) + u'…' : e.note);
        item->setToolTip(AgainstColumn, againstText(row));
        if (!e.readable()) {
            for (int c = 0; c <= AgainstColumn; ++c)
                item->setForeground(c, palette().brush(QPalette::Disabled, QPalette::Text));
        }
    }
    m_list->expandAll();
    applyFilter();
    if (!selectPath(selected)) {
        for (int d = 0; d < m_list->topLevelItemCount(); ++d) {
            QTreeWidgetItem *first = m_list->topLevelItem(d);
            if (!first->isHidden() && first->childCount() > 0) {
                m_list->setCurrentItem(first->child(0));
                break;
            }
        }
    }
    showSelected();
}

void TuneHistoryWindow::applyFilter()
{
    const QString wanted = m_filter->text().trimmed();
    for (int d = 0; d < m_list->topLevelItemCount(); ++d) {
        QTreeWidgetItem *day = m_list->topLevelItem(d);
        bool any = false;
        for (int k = 0; k < day->childCount(); ++k) {
            QTreeWidgetItem *item = day->child(k);
            const auto row = std::find_if(m_rows.cbegin(), m_rows.cend(), [item](const Row &r) {
                return r.entry.path == item->data(0, PathRole).toString();
            });
            const bool shown = wanted.isEmpty() ||
                               (row != m_rows.cend() &&
                                (row->entry.source.text().contains(wanted, Qt::CaseInsensitive) ||
                                 row->entry.note.contains(wanted, Qt::CaseInsensitive) ||
                                 row->entry.firmware.contains(wanted, Qt::CaseInsensitive)));
            item->setHidden(!shown);
            any = any || shown;
        }
        day->setHidden(!any);
    }
    if (QTreeWidgetItem *current = m_list->currentItem(); current && current->isHidden())
        m_list->setCurrentItem(nullptr);
}

QString TuneHistoryWindow::selectedPath() const
{
    const QTreeWidgetItem *item = m_list->currentItem();
    return item && !item->isHidden() ? item->data(0, PathRole).toString() : QString();
}

const TuneHistoryWindow::Row *TuneHistoryWindow::selectedRow() const
{
    const QString path = selectedPath();
    const auto row = std::find_if(m_rows.cbegin(), m_rows.cend(), [&path](const Row &r) { return r.entry.path == path; });
    return path.isEmpty() || row == m_rows.cend() ? nullptr : &*row;
}

const restore::Entry *TuneHistoryWindow::selectedEntry() const
{
    const Row *row = selectedRow();
    return row ? &row->entry : nullptr;
}

QTreeWidgetItem *TuneHistoryWindow::itemOf(const QString &path) const
{
    for (int d = 0; d < m_list->topLevelItemCount(); ++d)
        for (int k = 0; k < m_list->topLevelItem(d)->childCount(); ++k)
            if (QTreeWidgetItem *item = m_list->topLevelItem(d)->child(k); item->data(0, PathRole).toString() == path)
                return item;
    return nullptr;
}

bool TuneHistoryWindow::selectPath(const QString &path)
{
    QTreeWidgetItem *item = path.isEmpty() ? nullptr : itemOf(path);
    if (!item || item->isHidden())
        return false;
    m_list->setCurrentItem(item);
    return true;
}

QString TuneHistoryWindow::compareName(const restore::Entry &entry)
{
    return QStringLiteral("%1, %2").arg(history::pointWording(entry), numbers::shortDateTime(entry.time));
}

void TuneHistoryWindow::showSelected()
{
    const Row *row = selectedRow();
    m_parameters->clear();
    if (!row) {
        m_point->setText(m_rows.isEmpty() ? QStringLiteral("No restore points have been kept yet.")
                                          : QStringLiteral("Choose a point to see how it differs from the open image."));
        m_summary->clear();
        m_heatMap->clear(QString());
        updateButtons();
        return;
    }
    const restore::Entry &e = row->entry;
    m_point->setText(QStringLiteral("%1, %2 %3, from %4").arg(history::pointWording(e), dayText(e.time.date()),
                                                             numbers::timeOfDay(e.time.time()), e.source.text()));
    if (!e.readable()) {
        m_summary->setText(QStringLiteral("This point cannot be read: %1.").arg(e.problem));
        m_heatMap->clear(QStringLiteral("Nothing to compare"));
    } else if (!row->diff) {
        m_summary->setText(QStringLiteral("The data buffer is empty: open a file or download to compare."));
        m_heatMap->clear(QStringLiteral("Nothing to compare"));
    } else {
        m_summary->setText(QStringLiteral("Against the open image: %1").arg(row->summary.text(QLocale())));
        bool map3D = false;
        const auto cells = compare::runningCells(*row->diff, *row->data, *m_open, &map3D);
        const auto selects = [](const ModuleParameters &p) { return p.TimingTable2D || p.TimingTable3D; };
        const bool anyTable = selects(m_open->params) || selects(row->data->params);
        if (anyTable)
            m_heatMap->showCells(map3D, cells, m_open->params.TimingTable3D ? m_open->params.MAPSensor
                                                                           : row->data->params.MAPSensor);
        else
            m_heatMap->clear(QStringLiteral("Neither selects a timing table"));
        m_parameters->addItems(history::parameterLines(row->diff->parameters));
        if (row->diff->parameters.empty())
            m_parameters->addItem(QStringLiteral("No parameter differs."));
    }
    updateButtons();
}

void TuneHistoryWindow::updateButtons()
{
    const restore::Entry *e = selectedEntry();
    const bool readable = e && e->readable();
    m_openButton->setEnabled(readable);
    m_upload->setEnabled(readable);
    m_compare->setEnabled(readable && m_canCompare);
    m_compare->setToolTip(m_canCompare ? QStringLiteral("Shows the point's table over the open one.") : m_cannotCompare);
    m_keep->setEnabled(e != nullptr);
    m_keep->setChecked(e && e->kept);
    m_note->setEnabled(e != nullptr);
}

}  // namespace tunara::ui

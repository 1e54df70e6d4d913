#pragma once

#include "compare/difference_summary.h"
#include "files/restore_points.h"

#include <QWidget>

#include <optional>

class QGridLayout;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tunara::views {
class DifferenceHeatMap;
}

namespace tunara::ui {

// "Tune History": every restore point on one timeline, newest first and
// grouped by day, with where its image came from, its firmware, table mode
// and note, and how it differs from the image open in the window. The
// selected point's differences show as a heat map of its table and a list
// of changed parameters. A window of its own beside the main window, not modal:
// it only shows, and asks for what its buttons start through its signals.
class TuneHistoryWindow : public QWidget {
    Q_OBJECT
public:
    enum Column { TimeColumn, EventColumn, SourceColumn, FirmwareColumn, TableColumn, NoteColumn, AgainstColumn };

    explicit TuneHistoryWindow(QWidget *parent = nullptr);

    void setVisible(bool visible) override;

    // The points as they are listed now; the same point stays selected.
    void setListing(const restore::Listing &listing);
    // What the points are compared with; nothing while the buffer is empty.
    void setOpenImage(const std::optional<ModuleData> &open);
    // Whether "Compare With Open Table" can start, and why not when it cannot.
    void setCanCompare(bool can, const QString &why);

    QTreeWidget *list() const { return m_list; }
    QLineEdit *filter() const { return m_filter; }
    // The selected point ("" / null when a day or nothing is selected).
    QString selectedPath() const;
    const restore::Entry *selectedEntry() const;
    bool selectPath(const QString &path);
    // A point's row in the list; null when it is not listed.
    QTreeWidgetItem *itemOf(const QString &path) const;
    // How a point is named in the comparison it starts.
    static QString compareName(const restore::Entry &entry);

signals:
    void openRequested(const QString &path);
    void compareRequested(const QString &path, const QString &name);
    void uploadRequested(const QString &path);
    void keepRequested(const QString &path, bool keep);
    void noteRequested(const QString &path);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct Row {
        restore::Entry entry;
        std::optional<ModuleData> data;  // decoded when readable
        std::optional<compare::ImageDiff> diff;  // against the open image
        compare::DifferenceSummary summary;
    };

    void buildControls();
    void layOutWindow(QLayout *filterRow, QWidget *split);
    void arrangeButtons(int perRow);
    void fitToScreen();
    void rebuild();
    void compareAll();
    QString againstText(const Row &row) const;
    void applyFilter();
    void showSelected();
    void updateButtons();
    const Row *selectedRow() const;

    QList<Row> m_rows;
    std::optional<ModuleData> m_open;
    bool m_canCompare = false;
    QString m_cannotCompare;
    QLineEdit *m_filter = nullptr;
    QTreeWidget *m_list = nullptr;
    QLabel *m_problems = nullptr;
    QLabel *m_point = nullptr;
    QLabel *m_summary = nullptr;
    views::DifferenceHeatMap *m_heatMap = nullptr;
    QListWidget *m_parameters = nullptr;
    QPushButton *m_openButton = nullptr;
    QPushButton *m_compare = nullptr;
    QPushButton *m_upload = nullptr;
    QPushButton *m_keep = nullptr;
    QPushButton *m_note = nullptr;
    QPushButton *m_closeButton = nullptr;
    QGridLayout *m_buttonRows = nullptr;
    bool m_fitted = false;  // sized to its screen at its first showing

    static constexpr QSize DesignSize{980, 620};
};

}  // namespace tunara::ui

#pragma once

#include "module/module_data.h"
#include "module/saved_state.h"

#include <QObject>
#include <QString>

namespace tunara {

// Where the image came from, or last went to: what the caption and the
// status bar name.
struct DataSource {
    enum class Kind { Empty, File, Module };
    Kind kind = Kind::Empty;
    QString title;     // the caption's data part ("Data Buffer Empty", a file's name, "Downloaded Data")
    QString path;      // the data file (File)
    int port = 0;      // the port's "Com" number (Module)
    QString device;    // the port's device (Module)
    QString firmware;  // the module's identification (Module)

    bool operator==(const DataSource &) const = default;
    static DataSource empty();
    static DataSource file(const QString &path, const QString &title);
    static DataSource module(int port, const QString &device, const QString &firmware);
};

// The one owner of the program's data: the image, the parameters decoded
// from it, the two working tables, which table regions were filled in this
// run, whether the image holds unsaved work, and where it came from.
//
// It changes only through its named changes and through an Edit, and it
// announces every change once: whoever shows the data (caption, unsaved-work
// mark, status bar, menus) follows the signals and never polls. A change
// that changes nothing announces nothing.
class ModuleDocument : public QObject {
    Q_OBJECT
public:
    explicit ModuleDocument(QObject *parent = nullptr);

    const ModuleData &data() const { return m_data; }
    const ModuleImage &image() const { return m_data.image; }
    const ModuleParameters &params() const { return m_data.params; }
    const TimingTables &tables() const { return m_data.tables; }
    bool isEmpty() const { return m_data.image.DataBufferEmpty; }
    const DataSource &source() const { return m_source; }
    // Work that went neither to a file nor to a module.
    bool isModified() const { return m_saved.hasUnsavedWork(m_data); }

    // A whole image from a file or a module: decoded, both table regions
    // counted as filled, nothing unsaved.
    void replaceImage(const ModuleImage &image, const DataSource &source);
    // The image emptied (a refused or failed open); the source stays.
    void clear();
    // The image as it stands went to a file or a module.
    void markSaved();
    void setSource(const DataSource &source);

    // Every other change goes through an Edit: the document compares what
    // it held before with what it holds when the Edit ends, and announces
    // the difference.
    class Edit {
    public:
        explicit Edit(ModuleDocument &document);
        ~Edit();
        Edit(const Edit &) = delete;
        Edit &operator=(const Edit &) = delete;
        ModuleData *operator->() { return &m_document.m_data; }
        ModuleData &operator*() { return m_document.m_data; }

    private:
        ModuleDocument &m_document;
        ModuleData m_before;
    };
    Edit edit() { return Edit(*this); }

signals:
    // A whole new image (open, download) or an emptied one.
    void imageReplaced();
    // A parameter, a table or image byte changed in place.
    void parametersChanged();
    void tablesChanged();
    // The table the parameters select (2D, 3D, none) or the MAP sensor's range changed.
    void tableModeChanged();
    void modifiedChanged(bool modified);
    void sourceChanged();

private:
    void announce(const ModuleData &before, bool replaced);
    void updateModified();

    ModuleData m_data;
    DataSource m_source = DataSource::empty();
    SavedState m_saved;
    bool m_modified = false;  // as last announced
    int m_openEdits = 0;
};

}  // namespace tunara

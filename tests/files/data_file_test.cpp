// The ".dat" data file: 264 raw bytes, image bytes 16..279.
#include "files/data_file.h"

#include "compare/image_check.h"
#include "core/runtime_error.h"
#include "files/other_file.h"
#include "module/module_data.h"
#include "module/parameter_codec.h"

#include "../image/image_rules.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <random>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace tunara;

namespace {

QByteArray pattern(int size, int seed = 1)
{
    QByteArray bytes(size, '\0');
    for (int k = 0; k < size; ++k)
        bytes[k] = static_cast<char>((k * 7 + seed * 31 + 3) & 0xFF);
    return bytes;
}

void writeRaw(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray readRaw(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

class DataFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

TEST_F(DataFile, SizeIsTheTransferRange)
{
    EXPECT_EQ(datafile::Size, 264);
    EXPECT_EQ(datafile::prematureEndMessage(), QStringLiteral("Error - reached premature end-of-file"));
}

TEST_F(DataFile, ExactFileFillsImageBytes16To279InOrder)
{
    const QByteArray bytes = pattern(264);
    writeRaw(path("exact.dat"), bytes);
    ModuleImage image;
    image.EEPROMBuffer.fill(0x77);
    EXPECT_TRUE(datafile::fillImage(datafile::read(path("exact.dat")), image));
    for (int a = 0; a < 16; ++a)
        EXPECT_EQ(image.EEPROMBuffer[a], 0x77) << "byte " << a << " is never read from a file";
    for (int k = 0; k < 264; ++k)
        EXPECT_EQ(image.EEPROMBuffer[16 + k], static_cast<std::uint8_t>(bytes[k])) << "file byte " << k;
}

TEST_F(DataFile, EveryByteValueIsCarriedRaw)
{
    QByteArray bytes(264, '\0');
    for (int k = 0; k < 264; ++k)
        bytes[k] = static_cast<char>(k < 256 ? k : 255 - (k - 256));  // 0x00..0xFF, then 0xFF..0xF8
    writeRaw(path("all.dat"), bytes);
    ModuleImage image;
    ASSERT_TRUE(datafile::fillImage(datafile::read(path("all.dat")), image));
    for (int k = 0; k < 264; ++k)
        EXPECT_EQ(image.EEPROMBuffer[16 + k], static_cast<std::uint8_t>(bytes[k])) << "file byte " << k;
}

TEST_F(DataFile, LongerFileUsesTheFirst264Bytes)
{
    QByteArray bytes = pattern(264);
    bytes += QByteArray(5000, '\xFF');
    writeRaw(path("long.dat"), bytes);
    const QByteArray read = datafile::read(path("long.dat"));
    EXPECT_EQ(read, bytes.left(264));
    ModuleImage image;
    EXPECT_TRUE(datafile::fillImage(read, image));
    EXPECT_EQ(image.EEPROMBuffer[279], static_cast<std::uint8_t>(bytes[263]));
}

TEST_F(DataFile, ShortOrEmptyFileIsRejected)
{
    for (int size : {263, 100, 1, 0}) {
        SCOPED_TRACE("file of " + std::to_string(size) + " bytes");
        const QString p = path(QStringLiteral("short%1.dat").arg(size));
        writeRaw(p, pattern(size));
        ModuleImage image;
        const QByteArray read = datafile::read(p);
        EXPECT_EQ(read.size(), size);
        EXPECT_FALSE(datafile::fillImage(read, image));
    }
}

TEST_F(DataFile, MissingOrUnreadableFileRaisesAnError)
{
    EXPECT_THROW(datafile::read(path("nothing-here.dat")), RuntimeError);
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.dat")));
    EXPECT_THROW(datafile::read(path("folder.dat")), RuntimeError);
}

TEST_F(DataFile, WriteProducesExactly264BytesOfTheImage)
{
    ModuleImage image;
    for (int a = 0; a < 280; ++a)
        image.EEPROMBuffer[a] = static_cast<std::uint8_t>(255 - a);
    datafile::write(path("out.dat"), image);
    const QByteArray written = readRaw(path("out.dat"));
    ASSERT_EQ(written.size(), 264);
    for (int k = 0; k < 264; ++k)
        EXPECT_EQ(static_cast<std::uint8_t>(written[k]), image.EEPROMBuffer[16 + k]) << "file byte " << k;
}

TEST_F(DataFile, WriteOverALongerFileLeavesExactly264Bytes)
{
    writeRaw(path("old.dat"), pattern(10000, 9));
    ModuleImage image;
    image.EEPROMBuffer.fill(0x42);
    datafile::write(path("old.dat"), image);
    EXPECT_EQ(readRaw(path("old.dat")), QByteArray(264, '\x42'));
}

TEST_F(DataFile, WriteLeavesNoStrayFilesBehind)
{
    writeRaw(path("keep.dat"), pattern(264));
    ModuleImage image;
    datafile::write(path("keep.dat"), image);
    datafile::write(path("new.dat"), image);
    QStringList names = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.sort();
    EXPECT_EQ(names, (QStringList{QStringLiteral("keep.dat"), QStringLiteral("new.dat")}));
}

TEST_F(DataFile, WriteIntoAPathThatCannotExistFails)
{
    // A regular file where the folder should be: fails for root too.
    writeRaw(path("plain"), QByteArray("x"));
    ModuleImage image;
    EXPECT_THROW(datafile::write(path("plain/out.dat"), image), RuntimeError);
    EXPECT_EQ(readRaw(path("plain")), QByteArray("x"));
}

TEST_F(DataFile, WriteOntoAFolderFailsAndKeepsTheFolder)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.dat")));
    writeRaw(path("taken.dat/inside"), pattern(10));
    ModuleImage image;
    EXPECT_THROW(datafile::write(path("taken.dat"), image), RuntimeError);
    EXPECT_TRUE(QFileInfo(path("taken.dat")).isDir());
    EXPECT_EQ(readRaw(path("taken.dat/inside")), pattern(10));
}

TEST_F(DataFile, OnlyRegularFilesAreReadOrReplaced)
{
    // A pipe would block the open and a device would be replaced by a file
    // (as root); a broken link names nothing to read. Each is refused at once.
    ASSERT_EQ(::mkfifo(path("pipe.dat").toLocal8Bit().constData(), 0600), 0);
    QFile::link(path("gone.dat"), path("broken.dat"));
    ModuleImage image;
    for (const char *name : {"pipe.dat", "broken.dat"}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(datafile::read(path(name)), RuntimeError);
        EXPECT_THROW(datafile::write(path(name), image), RuntimeError);
    }
    EXPECT_FALSE(QFile::exists(path("gone.dat")));
    try {
        datafile::write(QStringLiteral("/dev/null"), image);
        ADD_FAILURE() << "a device node was accepted";
    } catch (const RuntimeError &e) {
        EXPECT_TRUE(e.description().contains(QStringLiteral("/dev/null: it is a device or a pipe")));
    }
    struct stat st {};
    ASSERT_EQ(::stat("/dev/null", &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    // A link to a regular file is that file.
    writeRaw(path("real.dat"), pattern(264));
    QFile::link(path("real.dat"), path("link.dat"));
    EXPECT_EQ(datafile::read(path("link.dat")), pattern(264));
}

// Caps the size of any file this process writes, as a full disk would, and
// restores the limit afterwards. Works for root, which ignores permissions.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        m_active = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    bool active() const { return m_active; }

private:
    rlimit m_saved{};
    void (*m_oldHandler)(int) = nullptr;
    bool m_active = false;
};

TEST_F(DataFile, WriteThatRunsOutOfSpaceKeepsTheOldFileWhole)
{
    const QByteArray old = pattern(264, 5);
    writeRaw(path("precious.dat"), old);
    ModuleImage image;
    image.EEPROMBuffer.fill(0x99);
    {
        FileSizeLimit limit(100);
        ASSERT_TRUE(limit.active());
        try {
            datafile::write(path("precious.dat"), image);
            ADD_FAILURE() << "a write that could not finish reported success";
        } catch (const RuntimeError &e) {
            EXPECT_FALSE(e.description().contains(QStringLiteral("Unknown error"))) << e.what();
        }
    }
    EXPECT_EQ(readRaw(path("precious.dat")), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "the half-written temporary file must be removed";
    // and once space is back the same write succeeds
    datafile::write(path("precious.dat"), image);
    EXPECT_EQ(readRaw(path("precious.dat")), QByteArray(264, '\x99'));
}

TEST_F(DataFile, FailedWriteReportsAFileError)
{
    writeRaw(path("plain"), QByteArray("x"));
    try {
        datafile::write(path("plain/out.dat"), ModuleImage{});
        FAIL() << "no error";
    } catch (const RuntimeError &e) {
        EXPECT_FALSE(e.description().isEmpty());
        EXPECT_NE(e.number(), 0);
    }
}

TEST_F(DataFile, OpenAndSaveWithoutEditsChangesOnlyTheNormalisedBytes)
{
    std::mt19937 rng(264);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int n = 0; n < 20; ++n) {
        QByteArray in(264, '\0');
        for (auto &c : in)
            c = static_cast<char>(byte(rng));
        writeRaw(path("in.dat"), in);

        ModuleData d;
        d.image.ClearEEPROMBuffer();
        ASSERT_TRUE(datafile::fillImage(datafile::read(path("in.dat")), d.image));
        UpdateParams(d);
        UpdateEEPROM(d);
        datafile::write(path("out.dat"), d.image);

        const QByteArray out = readRaw(path("out.dat"));
        ASSERT_EQ(out.size(), 264);
        for (int k = 0; k < 264; ++k) {
            const int a = 16 + k;
            const auto was = static_cast<std::uint8_t>(in[k]);
            const auto now = static_cast<std::uint8_t>(out[k]);
            if (imagemap::isReserved(a)) {
                EXPECT_EQ(now, 0) << "file byte " << k;
            } else if (imagemap::isParameter(a)) {
                EXPECT_EQ(now, imagemap::normalised(a, was)) << "file byte " << k;
            } else {
                EXPECT_EQ(now, was) << "file byte " << k;
            }
        }
    }
}

// A ZIP local file header with its data, as an archive starts.
QByteArray zipEntry(const QByteArray &name, const QByteArray &data)
{
    QByteArray h("PK\x03\x04", 4);
    h += QByteArray(14, '\0');  // version, flags, method, time, date, checksum
    for (const int value : {int(data.size()), int(data.size())})
        for (int k = 0; k < 4; ++k)
            h += char((value >> (8 * k)) & 0xFF);
    h += char(name.size() & 0xFF);
    h += char(name.size() >> 8);
    h += QByteArray(2, '\0');  // no extra field
    return h + name + data;
}

TEST_F(DataFile, FilesOfOtherKindsAreRecognisedAndSavedDataFilesAlwaysPass)
{
    using files::OtherFileKind;
    using files::recogniseOtherFile;
    const auto kindOf = [](const QByteArray &bytes) { return recogniseOtherFile(bytes, bytes.size()); };
    EXPECT_EQ(kindOf("RPM,500,1000,1500\r\nADV,10.5,11,12\r\n"), OtherFileKind::Csv);
    EXPECT_EQ(kindOf("\xEF\xBB\xBFMAP/RPM;500;1000\nADV;10,5;11\n"), OtherFileKind::Csv);
    EXPECT_EQ(kindOf("Notes for the engine\n\tidle 900 rpm, \xC3\xB8l checked\n"), OtherFileKind::Text);
    EXPECT_EQ(kindOf(QByteArray("%PDF-1.7\n%\xE2\xE3\xCF\xD3\n", 15) + QByteArray(300, '\0')), OtherFileKind::Pdf);
    EXPECT_EQ(kindOf(QByteArray("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16)), OtherFileKind::Png);
    EXPECT_EQ(kindOf("GIF87a\x01\x00"), OtherFileKind::Gif);
    EXPECT_EQ(kindOf("GIF89a\x01\x00"), OtherFileKind::Gif);
    EXPECT_EQ(kindOf(QByteArray("\xFF\xD8\xFF\xE0\0\x10JFIF", 10)), OtherFileKind::Jpeg);
    EXPECT_EQ(kindOf(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(504, '\0')),
              OtherFileKind::CompoundDocument);
    EXPECT_EQ(kindOf(zipEntry("notes.txt", "hello")), OtherFileKind::Zip);
    EXPECT_EQ(kindOf(zipEntry("[Content_Types].xml", "<Types/>") + zipEntry("xl/workbook.xml", "<workbook/>")),
              OtherFileKind::Spreadsheet);
    EXPECT_EQ(kindOf(zipEntry("mimetype", "application/vnd.oasis.opendocument.spreadsheet")),
              OtherFileKind::Spreadsheet);
    // Only the head of a longer file is looked at, even cut inside a character.
    const QByteArray rows = "RPM,1\r\n" + QByteArray("ADV,1,2,\xC3\xB8\r\n").repeated(1000);
    ASSERT_EQ(quint8(rows[files::RecogniseHeadBytes - 1]), 0xC3);
    EXPECT_EQ(recogniseOtherFile(rows.left(files::RecogniseHeadBytes), rows.size()), OtherFileKind::Csv);
    writeRaw(path("table.csv"), rows);
    EXPECT_EQ(datafile::load(path("table.csv")).otherKind, OtherFileKind::Csv);
    // Neither a line of text without a break nor binary of an unknown kind.
    EXPECT_EQ(kindOf("just one line"), std::nullopt);
    std::mt19937 rng(2640);
    for (const int size : {263, 300}) {
        QByteArray random(size, '\0');
        for (auto &c : random)
            c = char(rng() & 0xFF);
        EXPECT_EQ(kindOf(random), std::nullopt) << size;
    }

    // Saved by this program: a 2D table that starts with "%PDF-".
    ModuleData data;
    data.image.ClearEEPROMBuffer();
    data.image.EEPROMBuffer[48] = 40;
    UpdateParams(data);
    data.params.TimingTable2D = true;
    const QByteArray pdfStart("%PDF-");
    for (int k = 0; k < pdfStart.size(); ++k)
        data.image.EEPROMBuffer[std::size_t(16 + k)] = std::uint8_t(pdfStart[k]);
    UpdateEEPROM(data);
    QByteArray saved(reinterpret_cast<const char *>(data.image.EEPROMBuffer.data()) + 16, 264);
    ASSERT_TRUE(saved.startsWith(pdfStart));
    ASSERT_FALSE(compare::checkImage(data.image).resaveChangesFile);
    EXPECT_EQ(kindOf(saved), std::nullopt);
    datafile::write(path("saved.dat"), data.image);
    EXPECT_TRUE(datafile::load(path("saved.dat")).ok());
    // The same bytes with a reserved byte set, or one byte longer, were not saved so.
    QByteArray changed = saved;
    changed[64 - 16] = 1;
    EXPECT_EQ(kindOf(changed), OtherFileKind::Pdf);
    EXPECT_EQ(kindOf(saved + "\n"), OtherFileKind::Pdf);
    // 264 bytes of text are no saved file: they hold no zero byte.
    EXPECT_EQ(kindOf(QByteArray("11,22\n").repeated(44)), OtherFileKind::Csv);

    EXPECT_EQ(files::notADataFileText("/t/a.csv", OtherFileKind::Csv, "use Import"),
              QStringLiteral("/t/a.csv is a CSV file, not a data file: use Import"));
    EXPECT_EQ(files::notADataFileText("/t/a.ods", OtherFileKind::Spreadsheet, "use Import"),
              QStringLiteral("/t/a.ods is a spreadsheet, not a data file: save its table as CSV, then use Import"));
    EXPECT_EQ(files::notADataFileText("/t/a.pdf", OtherFileKind::Pdf, "use Import"),
              QStringLiteral("/t/a.pdf is a PDF file, not a data file: choose a .dat file saved by this program or "
                             "downloaded from a module"));
}

TEST(CaptionTitle, NameAfterTheLastSeparatorShortenedPast40Characters)
{
    const QString forty = QString(36, u'a') + QStringLiteral(".dat");
    const QString fortyOne = u'b' + forty;
    ASSERT_EQ(forty.size(), 40);
    EXPECT_EQ(datafile::captionTitle(QStringLiteral("/home/u/") + forty), forty);
    EXPECT_EQ(datafile::captionTitle(QStringLiteral("/home/u/") + fortyOne), QStringLiteral("...") + forty);
    EXPECT_EQ(datafile::captionTitle(QStringLiteral("/home/u/") + fortyOne).size(), 43);
    EXPECT_EQ(datafile::captionTitle(QStringLiteral("C:\\Tuning\\car.dat")), QStringLiteral("car.dat"));
    EXPECT_EQ(datafile::captionTitle(QStringLiteral("car.dat")), QStringLiteral("car.dat"));
    EXPECT_EQ(datafile::captionTitle(QStringLiteral("/tmp/run 2/Ölstand 3.dat")), QStringLiteral("Ölstand 3.dat"));
}

}  // namespace

// A file that is recognisably not a data file, given where one belongs, is
// refused with one line that says what it is and what to do, before any
// module is asked for anything; a file this program saved always opens.
#include "cli_run.h"

#include "module/parameter_codec.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace tunara;

namespace {

TEST(OtherFileCli, ACsvOrAPictureGivenAsADataFileIsRefusedBeforeAnyModuleIsAsked)
{
    QTemporaryDir dir;
    const auto put = [&dir](const QString &name, const QByteArray &bytes) {
        QFile f(dir.filePath(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        return f.fileName();
    };
    const QString csv = put("table.csv", "RPM,500,1000,1500\r\nADV,10,12.5,15\r\n");
    const QString csvAdvice = csv + QStringLiteral(" is a CSV file, not a data file: import it with tunara-cli "
                                                   "import-csv FILE.dat TABLE.csv -o OUT.dat\n");

    // The port named does not exist: reaching it would fail otherwise.
    const CliRun upload = runInProcess({"upload", "--port", "/dev/no-such-tunara-port", csv});
    EXPECT_EQ(upload.code, 1);
    EXPECT_EQ(upload.err, QStringLiteral("tunara-cli: ") + csvAdvice);
    EXPECT_TRUE(upload.out.isEmpty()) << upload.out.toStdString();
    // check keeps 1 for "a resave would change it"; its errors exit 2.
    const CliRun check = runInProcess({"check", csv});
    EXPECT_EQ(check.code, 2);
    EXPECT_EQ(check.err, QStringLiteral("tunara-cli: ") + csvAdvice);
    const QString png = put("photo.dat", QByteArray("\x89PNG\r\n\x1A\n", 8) + QByteArray(400, '\0'));
    const CliRun decode = runInProcess({"decode", png});
    EXPECT_EQ(decode.code, 1);
    EXPECT_EQ(decode.err, QStringLiteral("tunara-cli: %1 is a PNG image, not a data file: choose a .dat file saved "
                                         "by this program or downloaded from a module\n")
                              .arg(png));

    // Saved by this program, its 2D table starting with the bytes of "%PDF-".
    ModuleData data;
    data.image.ClearEEPROMBuffer();
    data.image.EEPROMBuffer[48] = 40;
    UpdateParams(data);
    const QByteArray pdfStart("%PDF-");
    for (int k = 0; k < pdfStart.size(); ++k)
        data.image.EEPROMBuffer[std::size_t(16 + k)] = std::uint8_t(pdfStart[k]);
    UpdateEEPROM(data);
    const QString saved = put("saved.dat", QByteArray(reinterpret_cast<const char *>(data.image.EEPROMBuffer.data()) + 16, 264));
    const CliRun savedCheck = runInProcess({"check", saved});
    EXPECT_EQ(savedCheck.code, 0) << savedCheck.err.toStdString();
    EXPECT_TRUE(savedCheck.err.isEmpty());
}

}  // namespace

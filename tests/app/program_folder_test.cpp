// Where the program looks for its companion files: beside itself first (a
// build tree), then in the installed data folder, else beside itself.
#include "app/program_folder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace tunara::test {
namespace {

void touch(const QString &path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

TEST(ProgramFolder, BesideTheExecutableThenTheInstalledDataFolder)
{
    QTemporaryDir root;
    const QString bin = root.filePath("prefix with space/bin");
    const QString data = root.filePath("prefix with space/share/tunara");
    QDir().mkpath(bin);
    EXPECT_EQ(ui::installedDataFolder(bin), data);

    // Nothing anywhere: the executable's folder, so messages name it.
    EXPECT_EQ(ui::resolveProgramFolder(bin), bin);
    // Installed: the data folder, found by any one companion file.
    touch(data + "/Tunara_Kelm_Help/index.html");
    EXPECT_EQ(ui::resolveProgramFolder(bin), data);
    // Files beside the executable win (a build tree, a copied folder).
    touch(bin + "/Torvik_2D_Timing_Chart.oc2");
    EXPECT_EQ(ui::resolveProgramFolder(bin), bin);
}

}  // namespace
}  // namespace tunara::test

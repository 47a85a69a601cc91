#include "TempHome.h"
#include "shell/clsMakeSpecialFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace
{

// Bases inside the test's own folder, so the three families can be checked on every
// location, the system-wide one included.
clsMakeSpecialFolder FoldersIn(const QString& root)
{
    return clsMakeSpecialFolder([root](clsMakeSpecialFolder::Base base) {
        switch (base) {
        case clsMakeSpecialFolder::Base::Documents:
            return root + "/Documents";
        case clsMakeSpecialFolder::Base::AppData:
            return root + "/AppData";
        case clsMakeSpecialFolder::Base::CommonAppData:
            return root + "/Common";
        }
        return QString();
    });
}

TEST(SpecialFolders, GetMyDocumentsPathCreatesTheProductFolder)
{
    TempHome home;
    const clsMakeSpecialFolder folders; // the real mapping onto QStandardPaths
    EXPECT_FALSE(folders.ExistsMyDocumentsPath());
    EXPECT_FALSE(QFileInfo(home.UserFolder()).exists()); // asking created nothing
    EXPECT_EQ(folders.GetMyDocumentsPath(), home.Documents() + "/VX-2968/");
    EXPECT_TRUE(folders.ExistsMyDocumentsPath());
}

TEST(SpecialFolders, EveryLocationFollowsTheLayout)
{
    TempHome home;
    const clsMakeSpecialFolder f = FoldersIn(home.Path());
    const QString r = home.Path();
    EXPECT_EQ(f.GetAppDataPath(), r + "/AppData/VX-2968/");
    EXPECT_EQ(f.GetCommonAppDataPath(), r + "/Common/VX-2968/");
    EXPECT_FALSE(f.ExistsAppDataPath_WithNWR("Maker Co"));
    EXPECT_EQ(f.GetAppDataPath_WithNWR("Maker Co"), r + "/AppData/Maker Co/VX-2968/");
    EXPECT_TRUE(f.ExistsAppDataPath_WithNWR("Maker Co"));
    EXPECT_EQ(f.GetCommonAppDataPath_WithNWR("M"), r + "/Common/M/VX-2968/");
    EXPECT_TRUE(f.ExistsCommonAppDataPath_WithNWR("M"));
    EXPECT_TRUE(f.ExistsCommonAppDataPath());
    EXPECT_TRUE(f.ExistsAppDataPath());
}

TEST(SpecialFolders, AnUnknownBaseGivesEmptyPathsFalseTestsAndNoCopy)
{
    const clsMakeSpecialFolder none([](clsMakeSpecialFolder::Base) { return QString(); });
    EXPECT_EQ(none.GetMyDocumentsPath(), QString());
    EXPECT_EQ(none.GetCommonAppDataPath_WithNWR("M"), QString());
    EXPECT_FALSE(none.ExistsAppDataPath());
    EXPECT_TRUE(none.CopyFileToAppDataPath("/etc/hostname", true));
}

TEST(SpecialFolders, CopyReportsTrueWhenNotCopiedAndFalseWhenCopied)
{
    TempHome home;
    const clsMakeSpecialFolder f = FoldersIn(home.Path());
    home.WriteFile("src/report.txt", "one");

    // A bare file name has no folder part: not copied.
    EXPECT_TRUE(f.CopyFileToMyDocumentsPath("report.txt", true));

    EXPECT_FALSE(f.CopyFileToMyDocumentsPath(home.Path() + "/src/report.txt", false));
    QFile copied(home.Path() + "/Documents/VX-2968/report.txt");
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), "one");
    copied.close();

    // An existing file is kept without overwrite and replaced with it.
    home.WriteFile("src/report.txt", "two");
    EXPECT_TRUE(f.CopyFileToMyDocumentsPath(home.Path() + "/src/report.txt", false));
    EXPECT_FALSE(f.CopyFileToMyDocumentsPath(home.Path() + "/src/report.txt", true));
    ASSERT_TRUE(copied.open(QIODevice::ReadOnly));
    EXPECT_EQ(copied.readAll(), "two");

    // A source that does not exist counts as copied, though nothing was.
    EXPECT_FALSE(f.CopyFileToAppDataPath(home.Path() + "/src/missing.txt", false));
    EXPECT_FALSE(QFileInfo(home.Path() + "/AppData/VX-2968/missing.txt").exists());

    EXPECT_FALSE(f.CopyFileToCommonAppDataPath_WithNWR("M", home.Path() + "/src/report.txt", true));
    EXPECT_TRUE(QFileInfo(home.Path() + "/Common/M/VX-2968/report.txt").isFile());
}

TEST(SpecialFolders, AFolderThatCannotBeMadeStillYieldsItsPath)
{
    TempHome home;
    home.WriteFile("AppData/VX-2968", "a file where the folder should be");
    const clsMakeSpecialFolder f = FoldersIn(home.Path());
    EXPECT_EQ(f.GetAppDataPath(), home.Path() + "/AppData/VX-2968/");
    EXPECT_FALSE(f.ExistsAppDataPath());
}

} // namespace

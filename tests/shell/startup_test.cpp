// Start-up on a real home folder: the language file, the folders the program makes and
// uses, and the title bar's extra height.
#include "TempHome.h"
#include "shell/Globals.h"
#include "shell/Startup.h"
#include "shell/clsMakeSpecialFolder.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace
{

TEST(Startup, TheFirstTwoBytesOfTheLanguageFileDecide)
{
    const struct {
        const char* File; // null: no file; "/": a folder of that name
        QByteArray Bytes;
        UiLanguage Language;
    } cases[] = {
        {nullptr, "", UiLanguage::English},
        {"fwdstr.ini", "J", UiLanguage::Japanese},
        {"fwdstr.ini", "j", UiLanguage::Japanese},
        {"FWDSTR.INI", "J", UiLanguage::Japanese},
        {"fwdstr.ini", QByteArray("J\0", 2), UiLanguage::Japanese},
        {"fwdstr.ini", "J\r\n", UiLanguage::English},
        {"fwdstr.ini", "E", UiLanguage::English},
        {"fwdstr.ini", "", UiLanguage::English},
        {"fwdstr.ini", "JJ", UiLanguage::English},
        {"fwdstr.ini", " J", UiLanguage::English},
        {"/", "", UiLanguage::English},
    };
    for (const auto& c : cases) {
        TempHome home;
        const QString user = GetUserFolderPath(clsMakeSpecialFolder());
        if (c.File && c.File[0] == '/')
            QDir().mkpath(user + "fwdstr.ini");
        else if (c.File)
            home.WriteFile(QString("Documents/VX-2968/") + c.File, c.Bytes);
        EXPECT_EQ(ReadUiLanguage(user), c.Language)
            << (c.File ? c.File : "none") << " " << c.Bytes.toStdString();
    }
}

TEST(Startup, FoldersAreMadeWhereTheyBelongAndAnUnwritableProgramFolderFallsBack)
{
    TempHome home;
    const clsMakeSpecialFolder folders; // the real mapping onto the standard locations
    EXPECT_FALSE(folders.ExistsMyDocumentsPath());
    const QString user = GetUserFolderPath(folders);
    EXPECT_EQ(user, home.Documents() + "/VX-2968/");
    EXPECT_TRUE(QFileInfo(user).isDir());
    QDir().mkdir(user + "DATA");
    EXPECT_EQ(MakeDataFolder(user), user + "DATA/"); // an existing upper-case one is reused
    EXPECT_FALSE(EnsureFolder(home.Path() + "/missing/parent")); // the last level only

    const QString program = home.Path() + "/bin";
    QDir().mkdir(program);
    EXPECT_EQ(ResolveAppFolder(program + "/", folders), program + "/");
    // One that does not exist stands in for /usr/bin here, since permission bits do not stop
    // root; an installed program keeps its settings per user even where root could write.
    for (const QString& unwritable : {home.Path() + "/nowhere", QString("/usr/bin")})
        EXPECT_EQ(ResolveAppFolder(unwritable, folders), home.Path() + "/.local/share/VX-2968/");
}

TEST(Startup, ATallerTitleBarAddsItsTwips)
{
    EXPECT_EQ(ComputeCaptionHeightExtra(19, 15.0), 0);
    EXPECT_EQ(ComputeCaptionHeightExtra(23, 15.0), 60);
    EXPECT_EQ(ComputeCaptionHeightExtra(19, 14.6), 0); // twips per pixel rounded first
}

} // namespace

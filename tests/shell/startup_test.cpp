#include "TempHome.h"
#include "shell/Globals.h"
#include "shell/Startup.h"
#include "shell/clsMakeSpecialFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace
{

struct LanguageCase {
    const char* name;
    QByteArray bytes;
    int16_t expected;
};

void PrintTo(const LanguageCase& c, std::ostream* os)
{
    *os << c.name;
}

class FwdstrIni : public ::testing::TestWithParam<LanguageCase>
{
};

TEST_P(FwdstrIni, FirstTwoBytesDecideTheLanguage)
{
    TempHome home;
    const QString user = GetUserFolderPath(clsMakeSpecialFolder());
    home.WriteFile("Documents/VX-2968/fwdstr.ini", GetParam().bytes);
    EXPECT_EQ(ReadUiLanguage(user), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, FwdstrIni,
                         ::testing::Values(LanguageCase{"J", "J", 0}, LanguageCase{"j", "j", 0},
                                           LanguageCase{"JthenZero", QByteArray("J\0", 2), 0},
                                           LanguageCase{"JthenCrLf", "J\r\n", 1},
                                           LanguageCase{"E", "E", 1}, LanguageCase{"Empty", "", 1},
                                           LanguageCase{"JJ", "JJ", 1},
                                           LanguageCase{"Blank", " J", 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FwdstrIniLookup, NoFileMeansEnglishAndTheNameIgnoresCase)
{
    TempHome home;
    const QString user = GetUserFolderPath(clsMakeSpecialFolder());
    EXPECT_EQ(ReadUiLanguage(user), 1);
    home.WriteFile("Documents/VX-2968/FWDSTR.INI", "J");
    EXPECT_EQ(ReadUiLanguage(user), 0);
}

TEST(FwdstrIniLookup, AFolderOfThatNameReadsAsEnglish)
{
    TempHome home;
    const QString user = GetUserFolderPath(clsMakeSpecialFolder());
    QDir().mkpath(user + "fwdstr.ini");
    EXPECT_EQ(ReadUiLanguage(user), 1);
}

TEST(Folders, DataFolderIsMadeOnceAndAnExistingUpperCaseOneIsReused)
{
    TempHome home;
    const QString user = GetUserFolderPath(clsMakeSpecialFolder());
    EXPECT_EQ(user, home.UserFolder());
    EXPECT_TRUE(QFileInfo(user).isDir());

    QDir().mkdir(user + "DATA");
    EXPECT_EQ(MakeDataFolder(user), user + "DATA/");
    EXPECT_FALSE(QFileInfo(user + "data").exists() &&
                 QFileInfo(user + "data") != QFileInfo(user + "DATA"));
}

TEST(Folders, EnsureFolderMakesTheLastLevelOnlyAndNeverThrows)
{
    TempHome home;
    const QString base = home.Path() + "/x";
    EXPECT_TRUE(EnsureFolder(base));
    EXPECT_TRUE(EnsureFolder(base)); // already there
    EXPECT_FALSE(EnsureFolder(home.Path() + "/missing/parent"));
    home.WriteFile("plain", "file");
    EXPECT_FALSE(EnsureFolder(home.Path() + "/plain"));
    EXPECT_FALSE(FolderExists(home.Path() + "/plain"));
}

TEST(AppFolder, AWritableProgramFolderIsUsedAndAReadOnlyOneFallsBackToThePerUserFolder)
{
    TempHome home;
    clsMakeSpecialFolder folders;
    const QString program = home.Path() + "/bin";
    QDir().mkdir(program);
    EXPECT_EQ(ResolveAppFolder(program, folders), program + "/");
    EXPECT_EQ(ResolveAppFolder(program + "/", folders), program + "/"); // no second "/"

    // A folder we cannot write to: one that does not exist stands in for /usr/bin here,
    // since permission bits do not stop root.
    EXPECT_EQ(ResolveAppFolder(home.Path() + "/nowhere", folders),
              home.Path() + "/.local/share/VX-2968/");
    // An installed program keeps its settings per user even where root could write.
    EXPECT_EQ(ResolveAppFolder("/usr/bin", folders), home.Path() + "/.local/share/VX-2968/");
    EXPECT_TRUE(IsInstalledProgramFolder("/opt/vx2968/bin/"));
    EXPECT_FALSE(IsInstalledProgramFolder("/work/build/bin/"));
}

TEST(InitGlobals, StartValuesByLanguage)
{
    TempHome home;
    const QString program = home.Path() + "/bin";
    QDir().mkdir(program);

    Globals en;
    en.UiLanguage = 1;
    InitGlobals(en, program, clsMakeSpecialFolder());
    EXPECT_EQ(en.AppTitle, "VX-2968");
    EXPECT_EQ(en.UiFontName, "Times New Roman");
    EXPECT_EQ(en.FixedFontName, "Times New Roman");
    EXPECT_EQ(en.TabSeparator, "\t");
    EXPECT_EQ(en.DebugGestureButton, 4);
    EXPECT_EQ(en.MaxResults, 10);
    for (float m : en.PrintMargins)
        EXPECT_FLOAT_EQ(m, 6.0f);
    EXPECT_EQ(en.ChannelDisplay[0].Format, "0");
    EXPECT_EQ(en.ChannelDisplay[0].Unit, "N");
    EXPECT_EQ(en.ChannelDisplay[0].AltUnit, "kN");
    EXPECT_EQ(en.ChannelDisplay[5].Format, "0.000");
    EXPECT_EQ(en.ChannelDisplay[5].Unit, "mm");
    EXPECT_EQ(en.KValueDisplay.Unit, "MN/m3");
    EXPECT_EQ(en.EModulusDisplay.Unit, "MN/m2");
    EXPECT_EQ(en.DebugMode, 0);
    EXPECT_TRUE(QFileInfo(program + "/DATA").isDir());

    Globals ja;
    ja.UiLanguage = 0;
    InitGlobals(ja, program, clsMakeSpecialFolder());
    EXPECT_EQ(ja.AppTitle, QString::fromUtf8("QL-860H用データ収録ソフトウェア  VX-2968"));
    EXPECT_EQ(ja.UiFontName, QString::fromUtf8("ＭＳ Ｐ明朝"));
    EXPECT_EQ(ja.FixedFontName, QString::fromUtf8("ＭＳ 明朝"));

    ResetFontSpecs(ja);
    EXPECT_EQ(ja.LargeFontSpec.Name, ja.UiFontName);
    EXPECT_DOUBLE_EQ(ja.LargeFontSpec.Size, 12.0);
    EXPECT_EQ(ja.SmallFontSpec.Name, ja.FixedFontName);
    EXPECT_DOUBLE_EQ(ja.SmallFontSpec.Size, 10.0);
    EXPECT_TRUE(ja.SmallFontSpec.Further);
    EXPECT_FALSE(ja.SmallFontSpec.Bold);
}

TEST(CaptionHeightExtra, UsualTitleBarIsZeroAndTallerOnesAddTheirTwips)
{
    EXPECT_EQ(ComputeCaptionHeightExtra(19, 15.0), 0);
    EXPECT_EQ(ComputeCaptionHeightExtra(23, 15.0), 60);
    // Twips per pixel are rounded to a whole number first.
    EXPECT_EQ(ComputeCaptionHeightExtra(19, 14.6), 0);
}

} // namespace

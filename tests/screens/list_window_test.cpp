// The settings display as a real window (offscreen): captions, geometry, the C key and the
// two buttons.
#include "../printing/PrintFixtures.h"

#include "TempHome.h"
#include "screens/gui/frmList.h"
#include "shell/AppContext.h"
#include "shell/Twips.h"
#include "shell/gui/GridView.h"

#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QtTest/QTest>
#include <gtest/gtest.h>

using namespace fixtures;

namespace
{

class SettingsWindow : public testing::Test
{
protected:
    void Prepare(int16_t language, std::initializer_list<int> channels)
    {
        context.G = GlobalsIn(language);
        ResetFontSpecs(context.G);
        context.Logger = SettingsWith(channels);
        context.UserFolder = home.UserFolder();
        context.Messages = &messages;
        context.Time = &clock;
        context.Clipboard = &clipboard;
    }
    std::unique_ptr<frmList> Open(int16_t language = English,
                                  std::initializer_list<int> channels = {1, 2, 4})
    {
        Prepare(language, channels);
        auto list = std::make_unique<frmList>(context);
        list->show();
        return list;
    }
    QStringList ClipboardLines() const
    {
        QStringList lines = clipboard.Text().split("\r\n");
        lines.removeLast();
        return lines;
    }

    TempHome home;
    AppContext context;
    RecordingMessages messages;
    FixedClock clock{ResetTime()};
    MemoryClipboard clipboard;
};

TEST_F(SettingsWindow, CaptionsAndFontsInEachLanguage)
{
    const struct {
        int16_t Language;
        const char *Title, *Back, *Print, *Font;
    } cases[] = {
        {English, " Display Setting", "Measure", "Print", "Times New Roman"},
        {Japanese, " 設定値表示", "計測に戻る", "印　　　刷", "ＭＳ Ｐ明朝"},
    };
    for (const auto& c : cases) {
        auto list = Open(c.Language);
        EXPECT_EQ(list->windowTitle(), QString::fromUtf8(c.Title));
        EXPECT_EQ(list->Command1[0]->text(), QString::fromUtf8(c.Back));
        EXPECT_EQ(list->Command1[1]->text(), QString::fromUtf8(c.Print));
        for (QWidget* w :
             {static_cast<QWidget*>(list.get()), static_cast<QWidget*>(list->Command1[0]),
              static_cast<QWidget*>(list->Command1[1])}) {
            EXPECT_EQ(w->font().family(), QString::fromUtf8(c.Font));
            EXPECT_EQ(w->font().pointSize(), 9);
        }
        EXPECT_TRUE(list->isModal());
    }
}

TEST_F(SettingsWindow, WidthsFollowTheChannelCount)
{
    auto list = Open(English, {1, 2, 4});
    EXPECT_EQ(list->width(), TwipsToPixels(5110));
    EXPECT_EQ(list->Command1[0]->x(), TwipsToPixels(3475));
    EXPECT_EQ(list->MSFList->columnWidth(0), TwipsToPixels(2000));
    EXPECT_EQ(list->MSFList->columnWidth(3), TwipsToPixels(910));
    // Print sits beside the return button, both inside the window.
    EXPECT_LT(list->Command1[1]->geometry().right(), list->Command1[0]->x());
    EXPECT_LE(list->Command1[0]->geometry().right(), list->width());
}

TEST_F(SettingsWindow, EveryRowIsShownAndLongTitlesWrapRatherThanBeingCut)
{
    for (int16_t language : {English, Japanese}) {
        auto list = Open(language, {1, 2});
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list.get()));
        EXPECT_EQ(list->MSFList->verticalScrollBar()->maximum(), 0);
        const GridModel& grid = list->ListGrid();
        const QFontMetrics metrics(list->MSFList->font());
        for (int r = 0; r < grid.Rows(); ++r) {
            const int lines = list->MSFList->rowHeight(r) / metrics.lineSpacing();
            const int needed =
                metrics.horizontalAdvance(grid.Text(r, 0)) > list->MSFList->columnWidth(0) - 6 ? 2
                                                                                               : 1;
            EXPECT_GE(lines, needed) << grid.Text(r, 0).toStdString();
        }
    }
}

TEST_F(SettingsWindow, CKeyCopiesTheTableWhateverModifiersAreHeld)
{
    for (Qt::KeyboardModifiers modifiers :
         {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier),
          Qt::KeyboardModifiers(Qt::ControlModifier), Qt::KeyboardModifiers(Qt::AltModifier)}) {
        auto list = Open();
        clipboard.SetText("before");
        list->ListGrid().SetSelection(0, 0, 0, 0);
        QTest::keyClick(list->MSFList, Qt::Key_C, modifiers);
        const QStringList lines = ClipboardLines();
        ASSERT_EQ(lines.size(), 16) << int(modifiers);
        EXPECT_EQ(lines[8], "CH\t1\t2\t4");
        EXPECT_EQ(list->ListGrid().Row(), 15);
        EXPECT_EQ(list->ListGrid().Col(), 3);
    }
}

TEST_F(SettingsWindow, OtherKeysLeaveTheClipboardAlone)
{
    auto list = Open();
    clipboard.SetText("before");
    for (Qt::Key key : {Qt::Key_X, Qt::Key_P, Qt::Key_Down, Qt::Key_Return})
        QTest::keyClick(list->MSFList, key);
    EXPECT_EQ(clipboard.Text(), "before");
}

TEST_F(SettingsWindow, ReturnButtonClosesTheWindow)
{
    auto list = Open();
    list->Command1[0]->click();
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(list->result(), QDialog::Accepted);
}

TEST_F(SettingsWindow, WithoutPrinterThePageIsSavedAsPdfAndTheMessageSaysWhere)
{
    auto list = Open();
    list->Printing.PrinterInstalled = [] { return false; };
    list->Command1[1]->click();
    const QString path = home.UserFolder() + "Settings_20210407_130509.pdf";
    ASSERT_TRUE(QFile::exists(path));
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_TRUE(messages.Shown[0].Text.En.contains(path));
    EXPECT_TRUE(messages.Shown[0].Text.Ja.contains(path));
    EXPECT_TRUE(messages.Shown[0].Text.Ja.contains(QString::fromUtf8("PDF")));
    EXPECT_TRUE(list->isVisible()); // the window stays open after printing

    // A second printout within the same second keeps the first file.
    list->Command1[1]->click();
    EXPECT_TRUE(QFile::exists(home.UserFolder() + "Settings_20210407_130509_2.pdf"));
}

TEST_F(SettingsWindow, APrinterThatCannotStartIsReported)
{
    auto list = Open();
    bool printed = false;
    list->Printing.PrinterInstalled = [] { return true; };
    list->Printing.PreparePrinter = [&](QPrinter& printer) {
        printed = true;
        printer.setOutputFileName(home.Path() + "/no/such/folder/page.pdf");
    };
    list->Command1[1]->click();
    EXPECT_TRUE(printed);
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Title.En, "Print Error");
    EXPECT_EQ(messages.Shown[0].Icon, MessageIcon::Exclamation);
}

} // namespace

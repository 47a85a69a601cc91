// The settings display as a real window (offscreen): captions, geometry, the C key and the
// two buttons.
#include "../printing/PrintFixtures.h"
#include "Press.h"

#include "TempHome.h"
#include "screens/gui/frmList.h"
#include "shell/AppContext.h"
#include "shell/Twips.h"
#include "shell/gui/GridView.h"

#include <QFile>
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
    std::unique_ptr<frmList> Open(int16_t language = English,
                                  std::initializer_list<int> channels = {1, 2, 4})
    {
        context.G = GlobalsIn(language);
        context.Logger = SettingsWith(channels);
        context.UserFolder = home.UserFolder();
        context.Messages = &messages;
        context.Time = &clock;
        context.Clipboard = &clipboard;
        auto list = std::make_unique<frmList>(context);
        list->show();
        return list;
    }

    TempHome home;
    AppContext context;
    RecordingMessages messages;
    FixedClock clock{ResetTime()};
    MemoryClipboard clipboard;
};

TEST_F(SettingsWindow, CaptionsFontsAndWidthsInEachLanguage)
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
              static_cast<QWidget*>(list->Command1[1])})
            EXPECT_EQ(w->font(), QFont(QString::fromUtf8(c.Font), 9));
        EXPECT_TRUE(list->isModal());
        EXPECT_EQ(list->width(), TwipsToPixels(5110));
        EXPECT_EQ(list->Command1[0]->x(), TwipsToPixels(3475));
        EXPECT_EQ(list->MSFList->columnWidth(0), TwipsToPixels(2000));
        EXPECT_EQ(list->MSFList->columnWidth(3), TwipsToPixels(910));
        EXPECT_LT(list->Command1[1]->geometry().right(), list->Command1[0]->x());

        // Every row is in view, and titles too long for their column wrap, not cut.
        ASSERT_TRUE(QTest::qWaitForWindowExposed(list.get()));
        EXPECT_EQ(list->MSFList->verticalScrollBar()->maximum(), 0);
        const QFontMetrics metrics(list->MSFList->font());
        for (int r = 0; r < 16; ++r) {
            const QString title = list->ListGrid().Text(r, 0);
            const bool longTitle =
                metrics.horizontalAdvance(title) > list->MSFList->columnWidth(0) - 6;
            EXPECT_GE(list->MSFList->rowHeight(r) / metrics.lineSpacing(), longTitle ? 2 : 1)
                << title.toStdString();
        }
    }
}

TEST_F(SettingsWindow, CKeyCopiesTheTableWhateverModifiersAreHeldAndNoOtherKeyDoes)
{
    auto list = Open();
    for (Qt::KeyboardModifiers modifiers :
         {Qt::KeyboardModifiers(Qt::NoModifier), Qt::KeyboardModifiers(Qt::ShiftModifier),
          Qt::KeyboardModifiers(Qt::ControlModifier), Qt::KeyboardModifiers(Qt::AltModifier)}) {
        clipboard.SetText("before");
        list->ListGrid().SetSelection(0, 0, 0, 0);
        FocusOn(list->MSFList);
        TypeKey(Qt::Key_C, modifiers);
        EXPECT_EQ(clipboard.Text().count("\r\n"), 16) << int(modifiers);
        EXPECT_TRUE(clipboard.Text().contains("CH\t1\t2\t4\r\n"));
        EXPECT_EQ(list->ListGrid().Row(), 15);
        EXPECT_EQ(list->ListGrid().Col(), 3);
    }
    clipboard.SetText("before");
    FocusOn(list->MSFList);
    for (Qt::Key key : {Qt::Key_X, Qt::Key_P, Qt::Key_Down, Qt::Key_Return})
        TypeKey(key);
    EXPECT_EQ(clipboard.Text(), "before");
}

TEST_F(SettingsWindow, PrintSavesAPdfWithoutPrinterAndReturnCloses)
{
    auto list = Open();
    list->Printing.PrinterInstalled = [] { return false; };
    Press(list->Command1[1]);
    const QString path = home.UserFolder() + "Settings_20210407_130509.pdf";
    QFile pdf(path);
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_EQ(pdf.read(5), "%PDF-");
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_TRUE(messages.Shown[0].Text.En.contains(path));
    EXPECT_TRUE(messages.Shown[0].Text.Ja.contains(path));
    EXPECT_TRUE(list->isVisible()); // the window stays open after printing
    // A second printout within the same second keeps the first file.
    Press(list->Command1[1]);
    EXPECT_TRUE(QFile::exists(home.UserFolder() + "Settings_20210407_130509_2.pdf"));

    Press(list->Command1[0]);
    EXPECT_FALSE(list->isVisible());
    EXPECT_EQ(list->result(), QDialog::Accepted);
}

} // namespace

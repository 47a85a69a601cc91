#include "ReviewFixtures.h"
#include "TableCells.h"
#include "TempHome.h"
#include "TestContext.h"
#include "WaitFor.h"
#include "review/gui/ReviewWindow.h"

#include <QHeaderView>
#include <QLabel>
#include <gtest/gtest.h>

namespace
{

class ReviewWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PrepareContext(context, home, messages, clock, 1);
        context.Clipboard = &clipboard;
        const QString data = context.G.DataFolder;
        WriteBytes(data + "20240502.csv",
                   FixtureDayBytes(5, QDate(2024, 5, 2), UiLanguage::English, false));
        // The newest day holds an undefined drop and a line cut short by a full stick.
        WriteBytes(data + "20240506.csv",
                   FixtureDayBytes(4, QDate(2024, 5, 6), UiLanguage::Japanese, true) +
                       "00005,2024/05/06 08:02:00,0,0.000,-1,-1,0.500,0.250,,,,BU\r\n"
                       "00006,2024/05/06 08:02:20,30");
        WriteBytes(data + "20240504.csv", QByteArray(512, '\0'));
        WriteBytes(data + "20240503.csv",
                   FixtureDayBytes(0, QDate(2024, 5, 3), UiLanguage::English, false));
        for (const char* name : {"backup.csv", "20240231.csv"})
            WriteBytes(data + name,
                       FixtureDayBytes(1, QDate(2024, 5, 2), UiLanguage::English, false));
    }

    TempHome home;
    AppContext context;
    RecordingMessages messages;
    SystemClock clock;
    MemoryClipboard clipboard;
};

TEST_F(ReviewWindowTest, OperatorOpensADaySortsChoosesRowsAndCopiesThem)
{
    ReviewWindow window(context);
    window.show();
    window.OpenFolder(context.UserFolder);
    ASSERT_TRUE(WaitFor([&] { return !window.Listing(); }));
    QTableView* days = window.DayList();
    ASSERT_EQ(days->model()->rowCount(), 4);
    EXPECT_EQ(Cell(days, 0, 0), "05/06/2024") << "newest first";
    EXPECT_EQ(Cell(days, 0, 1), "5");
    EXPECT_EQ(Cell(days, 0, 6), QString::fromUtf8("日本語"));
    EXPECT_EQ(Cell(days, 3, 6), "English");
    EXPECT_EQ(Cell(days, 2, 2), "no results yet (the file holds its heading only)");
    // The refused day's reason shows whole at the default width, every column is in view
    // (the lot's fields in another tab do not squeeze the list), and no heading is cut.
    EXPECT_TRUE(Cell(days, 1, 2).contains("binary"));
    EXPECT_LE(days->columnViewportPosition(6) + days->columnWidth(6), days->viewport()->width());
    for (int c = 0; c < 7; ++c)
        EXPECT_LT(days->fontMetrics().horizontalAdvance(
                      days->model()->headerData(c, Qt::Horizontal).toString()),
                  days->horizontalHeader()->sectionSize(c));
    EXPECT_TRUE(window.LeftOut()->text().contains("2 file(s) not named as a day (yyyymmdd.csv) "
                                                  "left out: 20240231.csv, backup.csv"))
        << window.LeftOut()->text().toStdString();

    QTableView* table = window.Table();
    ASSERT_TRUE(WaitFor([&] { return table->model()->rowCount() == 5; }));
    EXPECT_EQ(Cell(table, 4, 2), "------");
    EXPECT_EQ(Cell(table, 4, 4), " Calc Error");
    EXPECT_EQ(table->model()->headerData(6, Qt::Horizontal).toString(), "Disp. D1");
    EXPECT_TRUE(window.Note()->text().contains("line 8: 3 fields instead of 12"))
        << window.Note()->text().toStdString();

    EXPECT_TRUE(
        window.Legend()->text().contains(QString::fromUtf8("SD (n−1) of all the day's results")));
    PressCell(days, 3, 0);
    ASSERT_TRUE(WaitFor([&] {
        return table->model()->rowCount() == 5 && Cell(table, 0, 0) == "00001" &&
               table->model()->columnCount() == 7;
    }));
    EXPECT_TRUE(window.Note()->isHidden());

    // K ascending, the heading pressed once. Nothing is chosen: the whole day is copied, in
    // the order shown.
    QHeaderView* heading = table->horizontalHeader();
    const QPoint k = heading->mapTo(
        &window, QPoint(heading->sectionViewportPosition(4) + 5, heading->height() / 2));
    PressAtWindowPoint(&window, k);
    TypeKey(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard.Text().count("\r\n"), 6);
    EXPECT_TRUE(clipboard.Text().section("\r\n", 1, 1).startsWith(Cell(table, 0, 0) + '\t'));
    // K descending: pressed again.
    PressAtWindowPoint(&window, k);
    for (int r = 1; r < 5; ++r)
        EXPECT_GE(Cell(table, r - 1, 4).toInt(), Cell(table, r, 4).toInt());

    // One chosen row is a choice: it is copied and its statistics shown; then three.
    QAbstractItemModel* stats = window.Statistics()->model();
    EXPECT_EQ(stats->headerData(2, Qt::Horizontal).toString(), QString::fromUtf8("SD (n−1)"));
    PressCell(table, 0, 0);
    TypeKey(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard.Text().count("\r\n"), 2);
    EXPECT_EQ(stats->data(stats->index(2, 0)).toString(), "1");
    PressCell(table, 2, 0, Qt::ShiftModifier);
    EXPECT_EQ(stats->data(stats->index(2, 0)).toString(), "3");
    TypeKey(Qt::Key_C, Qt::ControlModifier);
    const QStringList lines = clipboard.Text().split("\r\n", Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0],
              "No\tDate Time\tLoad P0(N)\tDisp. D0(mm)\tK-NWR(MN/m3)\tE-NWR(MN/m2)\tE-CalcType");
    EXPECT_EQ(lines[1].section('\t', 4, 4), Cell(table, 0, 4));
    // Sorted anew, the chosen rows go out in the order now shown (K ascending).
    PressAtWindowPoint(&window, k);
    TypeKey(Qt::Key_C, Qt::ControlModifier);
    EXPECT_LT(clipboard.Text().indexOf("\r\n00003"), clipboard.Text().indexOf("\r\n00001"));
    EXPECT_TRUE(messages.Shown.empty());
}

} // namespace

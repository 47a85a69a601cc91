#include "ReviewFixtures.h"
#include "dayreview/DayModels.h"
#include "dayreview/ReviewedDay.h"

#include <QDir>
#include <QFileInfo>
#include <QPersistentModelIndex>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

namespace
{

// Worked out by hand: undefined values (-1, and 0 for loads and displacements, which the
// screen shows as "------") do not count; the standard deviation is the sample one.
TEST(ReviewStatistics, MatchValuesWorkedOutByHand)
{
    const struct {
        const char* Case;
        bool KOrE;
        int Count;
        double Mean, StdDev, Variation, Min, Max;
        std::vector<double> Values;
    } rows[] = {
        {"K without its -1", true, 3, 410, 10, 2.439024, 400, 420, {400, 410, 420, -1}},
        {"loads", false, 3, 31000, 1000, 3.225806, 30000, 32000, {30000, 0, 31000, 32000, -1}},
        {"K of 0 is a value", true, 2, 5, 7.071068, 141.421356, 0, 10, {0, 10}},
        {"one value: no spread", false, 1, 1.234, 0, 0, 1.234, 1.234, {1.234}},
        {"no value", false, 0, 0, 0, 0, 0, 0, {-1, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        const ColumnStatistics s = ComputeStatistics(row.Values, row.KOrE);
        EXPECT_EQ(s.Count, row.Count);
        EXPECT_NEAR(s.Mean, row.Mean, 1e-6);
        EXPECT_NEAR(s.StdDev, row.StdDev, 1e-6);
        EXPECT_NEAR(s.Variation, row.Variation, 1e-6);
        EXPECT_NEAR(s.Min, row.Min, 1e-9);
        EXPECT_NEAR(s.Max, row.Max, 1e-9);
        EXPECT_EQ(s.HasSpread(), row.Count >= 2);
    }
}

// Sixteen drops at K 400 and one at 600; E of Burmister about 112 with one of 12, E of
// Boussinesq 300 with one of 100. Each E lies within two standard deviations of the two
// formulas averaged together, but far below its own formula's mean: those are marked, as
// is the high K; an E of -1 marks nothing.
TEST(ReviewStatistics, MarksDropsAboveAndBelowTakingEachFormulaApart)
{
    QByteArray text = "Dia=300,Poi=0.350\r\n" +
                      FileHeaderLine2(FixtureSettings(false), UiLanguage::English).toLatin1() +
                      "\r\n";
    for (int i = 0; i < 18; ++i) {
        const bool bo = i >= 11;
        const int e = i == 3 ? -1 : i == 9 ? 12 : i == 17 ? 100 : bo ? 300 : 112;
        text += QStringLiteral("%1,05/06/2024 09:00:%2,30000,1.000,%3,%4,,,,,,%5\r\n")
                    .arg(i + 1, 5, 10, QLatin1Char('0'))
                    .arg(i, 2, 10, QLatin1Char('0'))
                    .arg(i == 7 ? 600 : 400)
                    .arg(e)
                    .arg(bo ? "BO" : "BU")
                    .toLatin1();
    }
    const ReviewedDay day(ParseDayText("20240506.csv", text, UiLanguage::English),
                          UiLanguage::English);
    ASSERT_EQ(day.Results(), 18);
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(day.Marked(i), i == 7 || i == 9 || i == 17) << "row " << i;

    const DaySelection all = day.Select({});
    ASSERT_EQ(all.Quantities.size(), 5u); // P0, D0, K, E of BU, E of BO
    EXPECT_EQ(all.Statistics[2].Count, 18);
    EXPECT_EQ(all.Quantities[3].CalcType, "BU");
    EXPECT_NEAR(all.Statistics[3].Mean, (9 * 112 + 12) / 10.0, 1e-9);
    EXPECT_NEAR(all.Statistics[4].Mean, (6 * 300 + 100) / 7.0, 1e-9);
    EXPECT_EQ(day.Select({0, 1}).Quantities.size(), 4u) << "chosen rows of one formula: one E";
}

struct BadFile {
    const char* Name; // file name inside the folder
    QByteArray Bytes; // empty with Folder or Size set
    bool Folder = false;
    qint64 Size = 0;     // a sparse file of this size
    const char* Problem; // part of the English refusal, or null when the file is read
    int Rows = 0;
    int SkippedLine = 0;  // the line reported skipped
    const char* Why = ""; // part of its English reason
};

TEST(ReviewFiles, BadFilesGiveAClearMessageAndKeepTheGoodLinesNewestFirst)
{
    const QByteArray good = FixtureDayBytes(3, QDate(2024, 5, 6), UiLanguage::Japanese, false);
    const BadFile rows[] = {
        {"20240501.csv", "", false, 0, "is empty"},
        {"20240502.csv", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR,,", 18), false, 0, "binary"},
        {"20240503.csv", good + "00004,2024/05/06 08:01:00,3001", false, 0, nullptr, 3, 6,
         "cut short"},
        {"20240504.csv", "", false, 100LL * 1024 * 1024, "100 MB"},
        {"20240505.csv", "", true, 0, "is a folder"},
        {"20240506.csv", "PK\x03\x04 not a results file\r\n", false, 0, "Dia="},
        {"20240507.csv",
         good + "00004,yesterday,1,2,3,4,,,,,,BU\r\n" + "junk\r\n" +
             good.mid(good.indexOf("00001")),
         false, 0, nullptr, 6, 6, "date"},
        // A power cut: NUL over part of line 4 and a NUL tail; the other lines are read.
        {"20240508.csv",
         good.left(good.indexOf("00002") + 9) + QByteArray(9, '\0') +
             good.mid(good.indexOf("00002") + 18) + QByteArray(512, '\0'),
         false, 0, nullptr, 2, 4, "damaged"},
        {"20240509.csv", QByteArray(4096, '\0'), false, 0, "binary"},
        // Saved by an editor of another system: lone CRs end its lines, and a line typed
        // in UTF-8 is named as such rather than as damage.
        {"20240510.csv",
         QByteArray(good).replace("\r\n", "\r") +
             QString::fromUtf8("00004,2024/05/06 08:01:00,30000,1.000,４２４,110,,,,,,BU\r")
                 .toUtf8(),
         false, 0, nullptr, 3, 6, "not CP932"},
    };
    // The "Data" folder of an earlier installation is found from the user folder.
    QTemporaryDir home;
    const QDir dir(home.filePath("VX-2968/Data"));
    dir.mkpath(".");
    EXPECT_EQ(DayFolderFor(home.filePath("VX-2968")), dir.path());
    for (const BadFile& row : rows) {
        const QString path = dir.filePath(row.Name);
        if (row.Folder)
            QDir().mkpath(path);
        else
            WriteBytes(path, row.Bytes);
        if (row.Size > 0)
            QFile(path).resize(row.Size);
    }
    DayIndex index;
    index.Start(DayEntries(dir.path()), UiLanguage::English);
    DayListModel list(UiLanguage::English);
    while (!index.Finished())
        list.AddDays(index.TakeRead(1000));
    ASSERT_EQ(list.rowCount(), int(std::size(rows))) << "every entry named like a day is listed";
    EXPECT_EQ(list.Day(0)->Date, QDate(2024, 5, 10)) << "newest first";

    for (const BadFile& row : rows) {
        SCOPED_TRACE(row.Name);
        const DayFile day = ReadDayFile(dir.filePath(row.Name), UiLanguage::Japanese);
        EXPECT_EQ(day.Rows.size(), size_t(row.Rows));
        // The list counts each line as the day's reading takes or skips it.
        const DaySummary* listed =
            list.Day(int(std::size(rows)) - QString(row.Name).mid(6, 2).toInt());
        ASSERT_TRUE(listed && listed->Path == dir.filePath(row.Name));
        EXPECT_EQ(listed->Results, int(day.Rows.size()));
        EXPECT_EQ(listed->Skipped, int(day.Skipped.size()));
        if (row.Problem) {
            EXPECT_TRUE(day.Problem.En.contains(row.Problem)) << day.Problem.En.toStdString();
            EXPECT_FALSE(day.Problem.Ja.isEmpty());
            continue;
        }
        EXPECT_TRUE(day.Problem.En.isEmpty()) << day.Problem.En.toStdString();
        ASSERT_FALSE(day.Skipped.empty());
        EXPECT_EQ(day.Skipped.front().LineNumber, row.SkippedLine);
        EXPECT_TRUE(day.Skipped.front().Reason.En.contains(row.Why))
            << day.Skipped.front().Reason.En.toStdString();
        EXPECT_FALSE(day.Skipped.front().Reason.Ja.isEmpty());
    }
}

// Days come from the readers in batches of any order; the list is always newest first,
// and the day the operator chose stays chosen while others go in above and below it.
TEST(DayList, DaysGoInInTheirPlacesAndAChosenDayStaysChosen)
{
    const auto day = [](int d, const char* name = "") {
        DaySummary s;
        s.Date = d > 0 ? QDate(2024, 5, d) : QDate();
        s.Path = QString("/data/%1%2.csv").arg(d).arg(name);
        return s;
    };
    DayListModel list(UiLanguage::English);
    list.AddDays({day(20), day(17)});
    const QPersistentModelIndex chosen = list.index(1, 0);
    for (std::vector<DaySummary> batch : {std::vector<DaySummary>{day(3), day(25), day(18)},
                                          {day(17, "b"), day(0), day(30), day(1), day(19)},
                                          {day(2), day(21), day(20, "a")}})
        list.AddDays(std::move(batch));
    QStringList order;
    for (int r = 0; r < list.rowCount(); ++r)
        order << QFileInfo(list.Day(r)->Path).completeBaseName();
    EXPECT_EQ(order.join(' ').toStdString(), "30 25 21 20a 20 19 18 17b 17 3 2 1 0")
        << "newest first, a day without a date last";
    EXPECT_EQ(list.Day(chosen.row())->Path, "/data/17.csv");
}

} // namespace

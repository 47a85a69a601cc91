#include "../printing/PdfTools.h"
#include "LotFixtures.h"
#include "ReviewFixtures.h"
#include "SmallDisk.h"
#include "TableCells.h"
#include "TempHome.h"
#include "TestContext.h"
#include "WaitFor.h"
#include "geo/SiteCrs.h"
#include "lotreport/LotChart.h"
#include "lotreview/gui/PointsView.h"
#include "review/gui/ReviewWindow.h"
#include "siteplan/PointMarkColours.h"

#include <QAbstractScrollArea>
#include <QFileSystemWatcher>
#include <QHeaderView>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace
{

// File > `entry`, pressed in the menu bar and then in the menu that opens.
void PressFileMenu(QMainWindow* window, const QString& entry)
{
    QMenuBar* bar = window->menuBar();
    QAction* file = bar->actions().front();
    PressAtWindowPoint(window, bar->mapTo(window, bar->actionGeometry(file).center()));
    QMenu* menu = file->menu();
    ASSERT_TRUE(WaitFor([&] { return menu->isVisible(); }));
    for (QAction* a : menu->actions()) {
        if (a->text().remove('&') == entry) {
            PressAtWindowPoint(menu, menu->actionGeometry(a).center());
            return;
        }
    }
    ADD_FAILURE() << "no entry " << entry.toStdString();
}

// The Points tab pressed, and File > New Lot of the day shown.
PointsView* NewLotOnPointsTab(ReviewWindow* window)
{
    QTabBar* tabs = window->Tabs()->tabBar();
    PressAtWindowPoint(window, tabs->mapTo(window, tabs->tabRect(3).center()));
    PressFileMenu(window, "New Lot");
    return window->Points();
}

// Fifteen points in three rows 12 m apart, every fourth failing, the last without a place.
SitePlanData FifteenPoints()
{
    SitePlanData data;
    data.System = Words("局所座標", "local");
    for (int i = 0; i < 15; ++i)
        data.Points.push_back({i + 1, "", i % 4 == 3 ? Verdict::Fail : Verdict::Pass, i < 14,
                               12.0 * (i % 5), 12.0 * (i / 5), i == 6});
    return data;
}

// The review window in English on a day of nine drops, 20 s apart.
struct NineDrops {
    TempHome Home;
    AppContext Context;
    RecordingMessages Messages;
    SystemClock Clock;
    ScriptedFiles Files;
    std::unique_ptr<ReviewWindow> Window;

    NineDrops()
    {
        PrepareContext(Context, Home, Messages, Clock, 1);
        Context.Files = &Files;
        WriteBytes(Context.G.DataFolder + "20240506.csv",
                   FixtureDayBytes(9, QDate(2024, 5, 6), UiLanguage::Japanese, false));
        Window = std::make_unique<ReviewWindow>(Context);
        Window->show();
        Window->OpenFolder(Context.UserFolder);
    }
    bool Shown() const
    {
        return WaitFor([&] { return Window->Table()->model()->rowCount() == 9; });
    }
};

// The engineer forms a lot from a day of nine drops: splits it into two points, leaves out
// a drop that slipped, asks for K ≥ 420, saves the lot, and finds it again on reopening.
TEST(LotWindow, EngineerSplitsExcludesRequiresSavesAndReopens)
{
    NineDrops day;
    ASSERT_TRUE(day.Shown());
    ReviewWindow& window = *day.Window;
    const TempHome& home = day.Home;
    AppContext& context = day.Context;
    RecordingMessages& messages = day.Messages;
    QTabBar* tabs = window.Tabs()->tabBar();
    PressAtWindowPoint(&window, tabs->mapTo(&window, tabs->tabRect(3).center()));
    PointsView* view = window.Points();
    ASSERT_TRUE(view->isVisible());
    auto* page = qobject_cast<QAbstractScrollArea*>(window.Tabs()->currentWidget());
    ASSERT_TRUE(page);
    EXPECT_TRUE(WaitFor([&] { return page->horizontalScrollBar()->maximum() == 0; }))
        << "the tab is given the width its fields need";
    PressFileMenu(&window, "New Lot");
    ASSERT_EQ(view->PointsTable()->model()->rowCount(), 1) << "nine drops, 20 s apart";
    window.resize(1366, 768); // a laptop's screen: ten points in view
    ASSERT_TRUE(WaitFor([&] { return window.height() == 768; })) << window.height();
    EXPECT_GE(view->PointsTable()->viewport()->height(),
              10 * view->PointsTable()->verticalHeader()->defaultSectionSize());
    view->ShowSitePlan(FifteenPoints());
    QTabBar* chartOrPlan = view->findChild<QTabWidget*>("ChartOrPlan")->tabBar();
    PressAtWindowPoint(&window, chartOrPlan->mapTo(&window, chartOrPlan->tabRect(2).center()));
    CentreInWindow(view->SitePlan()); // shown in the tab, nothing over it
    const QImage plan = view->SitePlan()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    int passing = 0; // pixels inside the discs of 11 passing points and the legend's
    for (int y = 0; y < plan.height(); ++y) {
        for (int x = 0; x < plan.width(); ++x)
            passing += plan.pixel(x, y) == (0xff000000 | LotPassingColour) ? 1 : 0;
    }
    EXPECT_GE(passing, 12 * 4);

    PressCell(view->DropsTable(), 3);
    Press(view->findChild<QWidget*>("Split"));
    ASSERT_EQ(view->PointsTable()->model()->rowCount(), 2);
    PressAtWindowPoint(&window, chartOrPlan->mapTo(&window, chartOrPlan->tabRect(0).center()));
    PressCell(view->PointsTable(), 1);
    EXPECT_EQ(Cell(view->DropsTable(), 0, 2), "20 (split)") << "seconds since the drop before";
    PressCell(view->DropsTable(), 1);
    Press(view->findChild<QWidget*>("ReasonText"));
    TypeText("slipped");
    Press(view->findChild<QWidget*>("Exclude"));
    EXPECT_EQ(Cell(view->DropsTable(), 1, 5), "left out: slipped");
    EXPECT_EQ(Cell(view->DropsTable(), 1, 7), "1.040") << "D0";
    EXPECT_EQ(Cell(view->PointsTable(), 1, 4), "5");

    Press(view->findChild<QWidget*>("RequireK"));
    QWidget* required = view->findChild<QWidget*>("RequiredK");
    Press(required);
    TypeKey(Qt::Key_A, Qt::ControlModifier);
    TypeText("420");
    TypeKey(Qt::Key_Return);
    Press(view->findChild<QWidget*>("QuantileFactor"));
    TypeKey(Qt::Key_A, Qt::ControlModifier);
    TypeText("1.645");
    TypeKey(Qt::Key_Return);
    EXPECT_EQ(Cell(view->PointsTable(), 0, 11), "pass"); // 424, 421, 417
    EXPECT_EQ(Cell(view->PointsTable(), 1, 11), "fail");
    EXPECT_EQ(view->Lot().Summary().Result, Verdict::Fail);
    // The header is blank: the window, as the record, shows a draft and no verdict.
    EXPECT_TRUE(view->VerdictLine()->text().contains(
        "DRAFT — Not a final record: site, layer, tester not filled in"))
        << view->VerdictLine()->text().toStdString();

    // The report read by pdftotext, the workbook by openpyxl: readers that are not ours.
    const QString pdf = home.Path() + "/lot.pdf", xlsx = home.Path() + "/lot.xlsx";
    day.Files.Answers.push_back(pdf);
    PressFileMenu(&window, "Save Lot Report as PDF...");
    const QString text = pdftools::RunTool("pdftotext", {"-layout", pdf, "-"});
    for (const char* part : {"Compaction Control Report", "K-NWR ≥ 420 MN/m3", "fail",
                             "DRAFT — a draft gives no verdict on the lot",
                             "Checked by (signature)", "Page 2 of 2", "50 %"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;
    day.Files.Answers.push_back(xlsx);
    PressFileMenu(&window, "Save Lot as Excel File...");
    const char* script = R"py(
import json, sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
cell = lambda c: c.value.isoformat() if hasattr(c.value, "isoformat") else (
    round(c.value, 3) if isinstance(c.value, float) else c.value)
need = [r[1].value for r in wb["Lot"].iter_rows() if r[0].value == "K-NWR ≥ (MN/m3)"][0]
print(json.dumps([wb.sheetnames, [cell(c) for c in wb["Drops"][1]][:10],
                  [cell(c) for c in wb["Points"][3]],
                  [cell(c) for c in wb["Drops"][6]][:10], need,
                  [cell(c) for c in wb["Edits"][3]][:7] + [wb["Edits"][3][9].value]]))
)py";
    EXPECT_EQ(QJsonDocument::fromJson(
                  pdftools::RunTool("/usr/bin/python3", {"-c", script, xlsx}).toUtf8())
                  .toJson(QJsonDocument::Compact)
                  .toStdString(),
              QJsonDocument::fromJson(R"json([["Points", "Drops", "Lot", "Edits"],
        ["Point", "No", "Date Time", "P0(N)", "D0(mm)", "K-NWR(MN/m3)", "E-NWR(MN/m2)",
         "Calculation", "Use", "Reason"],
        [2, null, "2024-05-06T08:01:00", 6, 5, 30214.6, 1.03, 415.2, 109.4, -4.8, null, "fail", null],
        [2, "00005", "2024-05-06T08:01:20", 30148, 1.04, 410, 108, "BU", "left out", "slipped"],
        420, [2, "drop excluded", "20240506.csv", "00005", "2024-05-06T08:01:20", 410, 108,
              "slipped"]])json")
                  .toJson(QJsonDocument::Compact)
                  .toStdString());

    // Unsaved work is not dropped without a word: the question is answered Cancel.
    PressFileMenu(&window, "New Lot");
    ASSERT_EQ(messages.Shown.size(), 1u);
    EXPECT_EQ(messages.Shown[0].Title.En, "Lot Not Saved");
    EXPECT_EQ(view->PointsTable()->model()->rowCount(), 2);
    EXPECT_FALSE(window.close());

    const QString lot = home.Path() + "/lot.json";
    day.Files.Answers.push_back(lot);
    PressFileMenu(&window, "Save Lot");
    ASSERT_TRUE(QFile::exists(lot));

    ReviewWindow again(context);
    again.show();
    day.Files.Answers.push_back(lot);
    PressFileMenu(&again, "Open Lot...");
    EXPECT_TRUE(again.Points()->isVisible()) << "the lot opened is shown";
    const LotDocument& reopened = again.Points()->Lot().Document();
    EXPECT_EQ(reopened.Judgement.Need.K, 420.0);
    EXPECT_EQ(reopened.Judgement.QuantileFactor, 1.645);
    EXPECT_EQ(again.Points()->Lot().Points().size(), 2u);
    ASSERT_EQ(reopened.Edits.Choices.size(), 1u);
    EXPECT_EQ(reopened.Edits.Choices[0].Text, "slipped");
    PressFileMenu(&again, "New Lot");     // nothing changed since it was opened: no question
    EXPECT_EQ(messages.Shown.size(), 2u); // New Lot and the close box, before saving
    // A new lot starts with the office's last rules, and is no work until it is changed.
    const LotJudgement& next = again.Points()->Lot().Document().Judgement;
    EXPECT_EQ(next.Need.K, 420.0);
    EXPECT_EQ(next.QuantileFactor, 1.645);
    EXPECT_TRUE(again.close());
}

// A point that gave no value keeps the lot from a verdict until it is left out with a
// reason; a day file gone keeps it there, named in the Points tab, until it is removed.
TEST(LotWindow, NoVerdictOverAPointWithoutValueOrAMissingDay)
{
    NineDrops day;
    WriteBytes(day.Context.G.DataFolder + "20240507.csv",
               FixtureDayBytes(9, QDate(2024, 5, 7), UiLanguage::Japanese, false));
    day.Window->OpenFolder(day.Context.UserFolder);
    ASSERT_TRUE(WaitFor([&] { return day.Window->DayList()->model()->rowCount() == 2; }));
    ReviewWindow& window = *day.Window;
    PointsView* view = window.Points();
    PressFileMenu(&window, "New Lot");
    PressCell(window.DayList(), 1);
    Press(view->findChild<QWidget*>("AddDay"));
    Press(view->findChild<QWidget*>("RequireK"));
    PressCell(view->DropsTable(), 8);
    Press(view->findChild<QWidget*>("Split"));
    Press(view->findChild<QWidget*>("Exclude")); // its only drop, as a seating drop
    QLabel* verdict = view->VerdictLine();
    EXPECT_TRUE(verdict->text().contains("point(s) 2 have no value"))
        << verdict->text().toStdString();
    Press(view->findChild<QWidget*>("LeavePointOut"));
    EXPECT_TRUE(view->findChild<QLabel*>("PointNote")->text().contains("Write why"));
    Press(view->findChild<QWidget*>("PointReason"));
    TypeText("plate on a stone");
    Press(view->findChild<QWidget*>("LeavePointOut"));
    EXPECT_EQ(Cell(view->PointsTable(), 1, 11), "left out: plate on a stone");
    EXPECT_EQ(view->Lot().Summary().Result, Verdict::Pass);

    const QString lot = day.Home.Path() + "/lot.json";
    day.Files.Answers.push_back(lot);
    PressFileMenu(&window, "Save Lot");
    QFile::remove(day.Context.G.DataFolder + "20240506.csv");
    day.Files.Answers.push_back(lot);
    PressFileMenu(&window, "Open Lot...");
    QLabel* problems = view->findChild<QLabel*>("Problems");
    EXPECT_TRUE(problems->isVisible() && verdict->isHidden());
    EXPECT_TRUE(problems->text().contains("20240506.csv is missing"));
    EXPECT_TRUE(view->findChild<QWidget*>("AcceptChanged")->isHidden());
    Press(view->findChild<QWidget*>("RemoveMissing"));
    EXPECT_FALSE(problems->isVisible());
    EXPECT_EQ(view->Lot().Summary().Result, Verdict::Pass);
    EXPECT_TRUE(day.Messages.Shown.empty()) << "no box that goes away";
}

// A line of the day file is deleted while its lot is open: the Points tab names the file in
// place of the verdict as soon as the file system tells; a change it has not told yet still
// makes the report saved at once a draft.
TEST(LotWindow, ADayFileChangedWhileTheLotIsOpenWithholdsTheVerdict)
{
    NineDrops day;
    ASSERT_TRUE(day.Shown());
    ReviewWindow& window = *day.Window;
    PointsView* view = NewLotOnPointsTab(&window);
    Press(view->findChild<QWidget*>("RequireK"));
    for (const char* field : {"Site", "Layer", "Operator"}) {
        Press(view->findChild<QWidget*>(field));
        TypeText("x");
        TypeKey(Qt::Key_Return);
    }
    ASSERT_EQ(view->Lot().Summary().Result, Verdict::Pass);
    ASSERT_TRUE(view->Lot().DraftReason().En.isEmpty()) << "a final record";
    const QString dayPath = day.Context.G.DataFolder + "20240506.csv";
    const QByteArray shorter = FixtureDayBytes(8, QDate(2024, 5, 6), UiLanguage::Japanese, false);
    ASSERT_TRUE(WriteBytes(dayPath, shorter));
    QLabel* problems = view->findChild<QLabel*>("Problems");
    EXPECT_TRUE(WaitFor([&] { return problems->isVisible(); }));
    EXPECT_TRUE(problems->text().contains("20240506.csv has changed"));
    Press(view->findChild<QWidget*>("AcceptChanged"));
    ASSERT_EQ(view->Lot().Summary().Result, Verdict::Pass);

    view->findChild<QFileSystemWatcher*>()->blockSignals(true);
    ASSERT_TRUE(
        WriteBytes(dayPath, FixtureDayBytes(7, QDate(2024, 5, 6), UiLanguage::Japanese, false)));
    const QString pdf = day.Home.Path() + "/lot.pdf";
    day.Files.Answers.push_back(pdf);
    PressFileMenu(&window, "Save Lot Report as PDF...");
    const QString text = pdftools::RunTool("pdftotext", {"-layout", pdf, "-"});
    EXPECT_TRUE(text.contains("DRAFT — a draft gives no verdict on the lot")) << text.toStdString();
    EXPECT_TRUE(problems->isVisible());
}

// On a full disk nothing is half written and nothing is said to be saved that was not: the
// lot, its report and its workbook each keep their old file and say why.
TEST(LotWindow, FullDiskKeepsEveryOldFileAndTheLotUnsaved)
{
    SmallDisk disk;
    if (!disk.Mounted())
        GTEST_SKIP() << "mounting a small file system needs root";
    NineDrops day;
    ASSERT_TRUE(day.Shown());
    ReviewWindow& window = *day.Window;
    RecordingMessages& messages = day.Messages;
    PointsView* view = window.Points();
    PressFileMenu(&window, "New Lot");
    const QString lot = disk.Path() + "/lot.json";
    day.Files.Answers.push_back(lot);
    PressFileMenu(&window, "Save Lot");
    QFile saved(lot);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray before = saved.readAll();
    WriteBytes(disk.Path() + "/lot.pdf", "an older report");
    WriteBytes(disk.Path() + "/lot.xlsx", "an older workbook");

    QTabBar* tabs = window.Tabs()->tabBar();
    PressAtWindowPoint(&window, tabs->mapTo(&window, tabs->tabRect(3).center()));
    PressCell(view->DropsTable(), 3);
    Press(view->findChild<QWidget*>("Split"));
    disk.Fill();
    PressFileMenu(&window, "Save Lot");
    day.Files.Answers.push_back(disk.Path() + "/lot.pdf");
    PressFileMenu(&window, "Save Lot Report as PDF...");
    day.Files.Answers.push_back(disk.Path() + "/lot.xlsx");
    PressFileMenu(&window, "Save Lot as Excel File...");
    ASSERT_EQ(messages.Shown.size(), 3u);
    for (const UiMessage& m : messages.Shown)
        EXPECT_TRUE(m.Text.En.contains("the disk is full")) << m.Text.En.toStdString();
    saved.seek(0);
    EXPECT_EQ(saved.readAll(), before);
    EXPECT_EQ(disk.Entries(), QStringList({"lot.json", "lot.pdf", "lot.xlsx"}));
    EXPECT_TRUE(view->Lot().HasUnsavedChanges()) << "closing still asks";
}

} // namespace

// The day's drops were made at +09:00 while the engineer's track runs in UTC, 23:00 the day
// before: the engineer adds it, gives the clock and a reference system, mistypes a code,
// sees the points on the site plan and exports them as GeoJSON.
TEST(LotWindow, EngineerPlacesTheLotOnATrackAndExportsItsPoints)
{
    NineDrops day;
    ASSERT_TRUE(day.Shown());
    ReviewWindow& window = *day.Window;
    PointsView* view = NewLotOnPointsTab(&window);
    const QString track = day.Home.Path() + "/walk.gpx";
    WriteBytes(track, "<gpx version=\"1.1\"><trk><trkseg>"
                      "<trkpt lat=\"35.0\" lon=\"139.8\"><time>2024-05-05T23:00:00Z</time></trkpt>"
                      "<trkpt lat=\"35.0\" lon=\"139.8\"><time>2024-05-05T23:03:00Z</time></trkpt>"
                      "</trkseg></trk></gpx>");
    day.Files.Answers.push_back(track);
    PressFileMenu(&window, "Add GPS Track...");
    EXPECT_TRUE(view->findChild<QLabel*>("PlacesState")
                    ->text()
                    .endsWith("before the drops: set the UTC offset to +09:00?"))
        << "the track in UTC meets the drops only at +09:00";
    const auto type = [&](const char* field, const QString& text) {
        Press(view->findChild<QWidget*>(field));
        TypeKey(Qt::Key_A, Qt::ControlModifier);
        TypeText(text);
        TypeKey(Qt::Key_Return);
    };
    type("UtcOffset", "+09:00");
    EXPECT_TRUE(view->findChild<QLineEdit*>("ReferenceSystem")->placeholderText().isEmpty())
        << "no system set reads as none, not as a grey example";
    type("ReferenceSystem", "EPSG:999999");
    ASSERT_EQ(day.Messages.Shown.size(), 1u);
    EXPECT_EQ(day.Messages.Shown[0].Text.En, "EPSG:999999 is not a known reference system");
    type("ReferenceSystem", "EPSG:6677");
    EXPECT_EQ(view->Lot().Document().Places.Epsg, 6677);
    EXPECT_TRUE(view->SitePlan()->HasPlan());
    QTableView* points = view->PointsTable();
    EXPECT_EQ(Cell(points, 0, points->model()->columnCount() - 1),
              "35.0000000, 139.8000000 (spread 0.0 m)");
    EXPECT_EQ(view->findChild<QLabel*>("PlacesState")->text(),
              "1 track(s), 1 of 1 point(s) placed");

    const QString map = day.Home.Path() + "/lot.geojson";
    day.Files.Answers.push_back(map);
    PressFileMenu(&window, "Export Points as GeoJSON...");
    QFile file(map);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonArray features = QJsonDocument::fromJson(file.readAll())["features"].toArray();
    ASSERT_EQ(features.size(), 1);
    EXPECT_EQ(features[0]["geometry"]["coordinates"], QJsonArray({139.8, 35.0}));

    // The design's centreline passes 5 m east of the point, which lies 50 m from its start.
    double north = 0.0, east = 0.0;
    Bilingual problem;
    ASSERT_TRUE(SiteCrs::Open(6677, &problem)->ToGrid({35.0, 139.8}, &north, &east));
    const QString road = day.Home.Path() + "/road.xml";
    WriteBytes(road, RoadXml(6677, north - 50.0, east + 5.0));
    day.Files.Answers.push_back(road);
    PressFileMenu(&window, "Add Centreline (LandXML)...");
    const int columns = points->model()->columnCount();
    EXPECT_EQ(Cell(points, 0, columns - 2), "No.2+10.00");
    EXPECT_EQ(Cell(points, 0, columns - 1), "-5.000");
    PressCell(points, 0);
    auto* location = view->findChild<QLineEdit*>("Location");
    EXPECT_EQ(location->text(), "No.2+10.00 L 5.00 m") << "offered, not yet taken";
    EXPECT_TRUE(view->Lot().Points()[0].Location().isEmpty());
    Press(location);
    TypeKey(Qt::Key_Return);
    EXPECT_EQ(view->Lot().Points()[0].Location(), "No.2+10.00 L 5.00 m");
    QTabBar* chartOrPlan = view->findChild<QTabWidget*>("ChartOrPlan")->tabBar();
    PressAtWindowPoint(&window, chartOrPlan->mapTo(&window, chartOrPlan->tabRect(2).center()));
    const QImage plan = view->SitePlan()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    // Rows of the plan crossed by the road: a light grey pixel away from the frame's edges.
    int crossed = 0;
    for (int y = plan.height() / 4; y < plan.height() * 3 / 4; ++y) {
        for (int x = plan.width() / 8; x < plan.width() * 7 / 8; ++x) {
            const QRgb c = plan.pixel(x, y);
            if (qRed(c) == qGreen(c) && qGreen(c) == qBlue(c) && qRed(c) >= qRed(CentrelineGrey) &&
                qRed(c) < 0xf0) {
                ++crossed;
                break;
            }
        }
    }
    EXPECT_GE(crossed, plan.height() / 2 - 2) << "the road across the plan";

    // The record names where the places come from and lists each point's.
    const QString pdf = day.Home.Path() + "/lot.pdf";
    day.Files.Answers.push_back(pdf);
    PressFileMenu(&window, "Save Lot Report as PDF...");
    const QString text = pdftools::RunTool("pdftotext", {"-layout", pdf, "-"}).simplified();
    for (const char* part :
         {"Places of the points", "UTC offset +09:00", "Reference system EPSG:6677", "walk.gpx",
          "GPS track", "35.0000000 139.8000000", "road.xml", "No.2+10.00 -5.000"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(part))) << part;
    EXPECT_EQ(day.Messages.Shown.size(), 1u) << "written without a word";
}

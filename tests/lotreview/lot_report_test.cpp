#include "../printing/PdfTools.h"
#include "ReviewFixtures.h"
#include "lotreview/LotProtocol.h"

#include "printing/PdfPage.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

// A day of 300 drops 20 s apart, a point every fifth: 60 points run over the sheets. Every
// kind of edit is made; the draft's day file then loses its last drops, and with them the
// drop of an exclusion, so that it has no verdict. The short hash of the day file printed.
QString PrintEditedLot(const QTemporaryDir& dir, UiLanguage language, bool draft)
{
    const QString day = dir.filePath("20240506.csv"), pdf = dir.filePath("report.pdf");
    QByteArray bytes = FixtureDayBytes(300, QDate(2024, 5, 6), UiLanguage::English, false);
    WriteBytes(day, bytes);
    LotSession lot(language);
    lot.New({day});
    lot.SetRules({99, 1});
    for (int i = 5; i < 300; i += 5)
        lot.SplitAt(i);
    lot.SetJudgement({{415.0, std::nullopt}, 1.28, LotRule::EveryPoint});
    lot.SetHeader({"Ring road", "Lot 4", "Subbase", "A. Tester", "", "", "", ""});
    lot.Include(5);
    lot.Exclude(12, ExclusionReason::Other, "slipped");
    lot.Exclude(297, ExclusionReason::WeightNotCaught, "");
    lot.JoinWithNext(7);
    lot.ExcludePoint(3, "plate on rock");
    if (draft) {
        Bilingual problem, notice;
        lot.Save(dir.filePath("lot.json"), &problem);
        bytes = FixtureDayBytes(290, QDate(2024, 5, 6), UiLanguage::English, false);
        WriteBytes(day, bytes);
        lot.Open(dir.filePath("lot.json"), &problem, &notice);
    }
    SitePlanData plan;
    plan.System = Words("局所座標 (東, 北)", "local (east, north)");
    plan.Points = {{1, "", Verdict::Fail, true, 0, 0, false},
                   {2, "", Verdict::Pass, true, 30, 40, true},
                   {3, "", Verdict::None, false, 0, 0, false}};
    PdfPage page(pdf);
    EXPECT_TRUE(PrintLotProtocol(page, lot, QDate(2024, 5, 7), language, "Times New Roman", &plan));
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(12);
}

// The report is a quality record in both languages: its header with the date of issue and
// the program, the day file by its hash, every edit with its drop's moment as the day files
// write it (a lost one said to be), lines to sign; a draft says so and why on every sheet
// and gives the lot no verdict. The points' table runs over sheets with its heading on each.
// The site plan closes it on a sheet of its own.
TEST(LotReport, RecordsEditsAndDaysAndMarksADraftOnEverySheet)
{
    const struct {
        const char* Case;
        UiLanguage Language;
        bool Draft;
        std::vector<const char*> Has;
        const char* Verdict;
        const char* DraftMark;
        std::vector<const char*> Plan;
    } rows[] = {
        {"English record",
         UiLanguage::English,
         false,
         {"Date of issue 05/07/2024", "VX-2968 2.2.0", "drop included", "joined to previous",
          "05/06/2024 08:04:00", "slipped", "plate on rock", "Tested by (signature)"},
         "Lot verdict (every point)",
         "DRAFT",
         {"Site plan of the points — Ring road / Lot 4 / Subbase", "pass fail not judged",
          "plate moved: drops spread over 5 m", "System: local (east, north)", "No position: 3"}},
        {"English draft",
         UiLanguage::English,
         true,
         {"LOST: its drop is no longer in the file", "weight not caught", "changed since saved"},
         "Lot verdict",
         "DRAFT Not a final record: no verdict:",
         {"Site plan of the points"}},
        {"Japanese record",
         UiLanguage::Japanese,
         false,
         {"発行日 2024/05/07", "打撃の採用", "2024/05/06 08:04:00", "slipped", "試験者 (署名)"},
         "ロットの判定 (",
         "DRAFT",
         {"測点の配置図", "合格", "座標系: 局所座標 (東, 北)", "位置なし: 3"}},
        {"Japanese draft",
         UiLanguage::Japanese,
         true,
         {"打撃がファイルにありません"},
         "ロットの判定 (",
         "DRAFT 下書き 確定した記録ではありません",
         {"測点の配置図"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        QTemporaryDir dir;
        const QString hash = PrintEditedLot(dir, row.Language, row.Draft);
        const QString pdf = dir.filePath("report.pdf");
        const QString info = pdftools::RunTool("pdfinfo", {pdf});
        const int pages = QRegularExpression("Pages:\\s+(\\d+)").match(info).captured(1).toInt();
        ASSERT_GE(pages, 2);
        QString all, last;
        for (int p = 1; p <= pages; ++p) {
            const QString n = QString::number(p);
            const QString text =
                pdftools::RunTool("pdftotext", {"-layout", "-f", n, "-l", n, pdf, "-"})
                    .simplified();
            EXPECT_EQ(text.contains(QString::fromUtf8(row.DraftMark)), row.Draft) << p;
            all += text + ' ';
            last = text;
        }
        for (const char* part : row.Plan)
            EXPECT_TRUE(last.contains(QString::fromUtf8(part))) << part << "\n"
                                                                << last.toStdString();
        const QString second = pdftools::RunTool("pdftotext", {"-f", "2", "-l", "2", pdf, "-"});
        EXPECT_TRUE(second.contains(row.Language ? "First drop" : "最初の打撃"));
        EXPECT_TRUE(all.contains(QString("Page %1 of %2").arg(pages).arg(pages)) || !row.Language);
        EXPECT_TRUE(all.contains(hash + ' ')) << "the day file's hash, to 12 digits";
        for (const char* part : row.Has)
            EXPECT_TRUE(all.contains(QString::fromUtf8(part))) << part;
        EXPECT_NE(all.contains(QString::fromUtf8(row.Verdict)), row.Draft);
    }
}

} // namespace

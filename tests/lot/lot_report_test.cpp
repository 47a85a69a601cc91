#include "../printing/PdfTools.h"
#include "../review/ReviewFixtures.h"
#include "review/LotProtocol.h"

#include "printing/PdfPage.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// A day of 300 drops, every fifth starting a point two minutes on: 60 points run over the
// sheets with the heading on each, and every sheet says which of how many it is.
TEST(LotReport, PointsRunOverSheetsNumberedPageNOfTotal)
{
    QTemporaryDir dir;
    const QString day = dir.filePath("20240506.csv"), pdf = dir.filePath("report.pdf");
    ASSERT_TRUE(WriteBytes(day, FixtureDayBytes(300, QDate(2024, 5, 6), 1, false)));
    LotSession lot(1);
    lot.New({day});
    lot.SetRules({99, 0});
    for (int i = 5; i < 300; i += 5)
        lot.SplitAt(i);
    lot.SetJudgement({{415.0, std::nullopt}, 1.28, LotRule::EveryPoint});
    ASSERT_EQ(lot.Points().size(), 60u);
    {
        PdfPage page(pdf);
        ASSERT_TRUE(PrintLotProtocol(page, lot, 1, "Times New Roman"));
    }
    const QString info = pdftools::RunTool("pdfinfo", {pdf});
    const int pages = QRegularExpression("Pages:\\s+(\\d+)").match(info).captured(1).toInt();
    ASSERT_GE(pages, 2);
    for (int p = 1; p <= pages; ++p) {
        const QString text = pdftools::RunTool(
            "pdftotext", {"-f", QString::number(p), "-l", QString::number(p), pdf, "-"});
        EXPECT_TRUE(text.contains(QString("Page %1 of %2").arg(p).arg(pages))) << p;
        EXPECT_TRUE(text.contains("First drop") || p == pages) << p; // the table's heading
        EXPECT_EQ(text.contains("Checked by (signature)"), p == pages) << p;
    }
}

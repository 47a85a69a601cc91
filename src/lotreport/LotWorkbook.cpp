#include "LotWorkbook.h"

#include "LotRecord.h"
#include "LotTexts.h"
#include "outputs/WorkbookFile.h"

#include "record/PlaceFormat.h"

#include <QFileInfo>
#include <xlsxwriter.h>

namespace
{

struct Formats {
    lxw_format* Bold;
    lxw_format* When;
    lxw_format* OneDecimal;
    lxw_format* ThreeDecimals;
    lxw_format* Whole;
    lxw_format* Day;
};

Formats MakeFormats(lxw_workbook* book, UiLanguage language)
{
    const auto number = [book](const char* format) {
        lxw_format* f = workbook_add_format(book);
        format_set_num_format(f, format);
        return f;
    };
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    return {
        bold,
        number(language == UiLanguage::Japanese ? "yyyy/mm/dd hh:mm:ss" : "mm/dd/yyyy hh:mm:ss"),
        number("0.0"),
        number("0.000"),
        number("0"),
        number(language == UiLanguage::Japanese ? "yyyy/mm/dd" : "mm/dd/yyyy")};
}

void Text(lxw_worksheet* sheet, int row, int col, const QString& text, lxw_format* f = nullptr)
{
    if (!text.isEmpty())
        worksheet_write_string(sheet, row, col, text.toUtf8().constData(), f);
}

void Number(lxw_worksheet* sheet, int row, int col, std::optional<double> v, lxw_format* f)
{
    if (v)
        worksheet_write_number(sheet, row, col, *v, f);
}

std::optional<double> If(bool has, double v)
{
    return has ? std::optional(v) : std::nullopt;
}

void When(lxw_worksheet* sheet, int row, int col, const QDateTime& t, lxw_format* f)
{
    if (!t.isValid())
        return;
    lxw_datetime d{t.date().year(), t.date().month(),  t.date().day(),
                   t.time().hour(), t.time().minute(), double(t.time().second())};
    worksheet_write_datetime(sheet, row, col, &d, f);
}

void Headings(lxw_worksheet* sheet, const QStringList& headings, const Formats& f)
{
    for (int c = 0; c < headings.size(); ++c)
        Text(sheet, 0, c, headings.at(c), f.Bold);
    worksheet_set_column(sheet, 0, lxw_col_t(headings.size()), 13, nullptr);
    worksheet_set_column(sheet, 1, 1, 20, nullptr);
    worksheet_freeze_panes(sheet, 1, 0);
}

// The points' places after every other column, from `first`: latitude and longitude, northing
// and easting, and the station in metres, the offset and the station as the lot writes it.
void WritePlaces(lxw_workbook* book, lxw_worksheet* sheet, int first,
                 const CoordinateColumns& places, UiLanguage language, const Formats& f)
{
    QStringList headings{Tr(language, "緯度", "Latitude"), Tr(language, "経度", "Longitude")};
    if (places.Grid)
        headings << Tr(language, "北距(m)", "Northing(m)") << Tr(language, "東距(m)", "Easting(m)");
    const int along = first + int(headings.size());
    if (places.Stations)
        headings << Tr(language, "追加距離(m)", "Station(m)")
                 << Tr(language, "離れ(m)", "Offset(m)") << Tr(language, "測点番号", "Station");
    for (int c = 0; c < headings.size(); ++c)
        Text(sheet, 0, first + c, headings.at(c), f.Bold);
    lxw_format* degrees = workbook_add_format(book);
    format_set_num_format(degrees, "0.0000000");
    for (int p = 0; p < int(places.Points.size()); ++p) {
        const PointCoordinates& c = places.Points[p];
        Number(sheet, p + 1, first, If(c.HasPlace, DegreesRounded(c.Latitude)), degrees);
        Number(sheet, p + 1, first + 1, If(c.HasPlace, DegreesRounded(c.Longitude)), degrees);
        if (places.Grid) {
            Number(sheet, p + 1, first + 2, If(c.HasGrid, GridMetresRounded(c.Northing)),
                   f.ThreeDecimals);
            Number(sheet, p + 1, first + 3, If(c.HasGrid, GridMetresRounded(c.Easting)),
                   f.ThreeDecimals);
        }
        if (places.Stations) {
            const PointStation& s = c.Along;
            Number(sheet, p + 1, along, If(s.HasStation, GridMetresRounded(s.Station)),
                   f.ThreeDecimals);
            Number(sheet, p + 1, along + 1, If(s.HasStation, GridMetresRounded(s.Offset)),
                   f.ThreeDecimals);
            Text(sheet, p + 1, along + 2, s.Text);
        }
    }
}

void WritePoints(lxw_workbook* book, const LotSession& lot, UiLanguage language, const Formats& f,
                 const CoordinateColumns* places)
{
    lxw_worksheet* sheet =
        workbook_add_worksheet(book, language == UiLanguage::Japanese ? "測点" : "Points");
    const QStringList headings = PointHeadings(language) << Tr(language, "備考", "Note");
    Headings(sheet, headings, f);
    if (places)
        WritePlaces(book, sheet, int(headings.size()), *places, language, f);
    for (int p = 0; p < int(lot.Points().size()); ++p) {
        const int y = p + 1;
        const PointValues& v = lot.Points()[p].Values;
        const PointVerdict verdict = lot.VerdictOf(p);
        worksheet_write_number(sheet, y, 0, p + 1, nullptr);
        Text(sheet, y, 1, lot.Points()[p].Location());
        When(sheet, y, 2, v.FirstDrop, f.When);
        worksheet_write_number(sheet, y, 3, v.Drops, nullptr);
        worksheet_write_number(sheet, y, 4, v.Used, nullptr);
        Number(sheet, y, 5, If(v.HasP0, v.P0), f.OneDecimal);
        Number(sheet, y, 6, If(v.HasD0, v.D0), f.ThreeDecimals);
        Number(sheet, y, 7, If(v.HasK, v.K), f.OneDecimal);
        Number(sheet, y, 8, If(v.HasE, v.E), f.OneDecimal);
        Number(sheet, y, 9, verdict.DiffK, f.OneDecimal);
        Number(sheet, y, 10, verdict.DiffE, f.OneDecimal);
        Text(sheet, y, 11, PointCells(lot, p, language).last());
        Text(sheet, y, 12, PointNote(lot.Points()[p], language));
    }
}

void WriteDrops(lxw_workbook* book, const LotSession& lot, UiLanguage language, const Formats& f)
{
    lxw_worksheet* sheet =
        workbook_add_worksheet(book, language == UiLanguage::Japanese ? "打撃" : "Drops");
    const QStringList drop = DropHeadings(language);
    QStringList headings{Tr(language, "測点", "Point"), drop[0], drop[1]};
    headings << drop.mid(3, 5) << drop[2] << Tr(language, "理由", "Reason")
             << Tr(language, "ファイル", "File") << Tr(language, "行", "Line");
    Headings(sheet, headings, f);
    int y = 0;
    for (int p = 0; p < int(lot.Points().size()); ++p) {
        for (const PointDrop& pd : lot.Points()[p].Drops) {
            const LotDrop& d = lot.Drops()[pd.Index];
            ++y;
            worksheet_write_number(sheet, y, 0, p + 1, nullptr);
            Text(sheet, y, 1, d.No);
            When(sheet, y, 2, d.When, f.When);
            Number(sheet, y, 3, If(d.P0 > 0.0, d.P0), f.Whole);
            Number(sheet, y, 4, If(d.D0 > 0.0, d.D0), f.ThreeDecimals);
            Number(sheet, y, 5, If(d.K >= 0.0, d.K), f.Whole);
            Number(sheet, y, 6, If(d.E >= 0.0, d.E), f.Whole);
            Text(sheet, y, 7, CalcTypeCode(d.Calc));
            const bool used = pd.State == DropState::Used;
            Text(sheet, y, 8,
                 used ? Tr(language, "採用", "used") : Tr(language, "除外", "left out"));
            if (pd.State == DropState::Seating)
                Text(sheet, y, 9, ReasonText(ExclusionReason::Seating).Pick(language));
            else if (pd.Choice)
                Text(sheet, y, 9, pd.Choice->Shown().Pick(language));
            Text(sheet, y, 10, lot.FileName(d.File));
            worksheet_write_number(sheet, y, 11, d.Line, nullptr);
        }
    }
}

// The day files from row `y`; gives the row after them.
int WriteDays(lxw_worksheet* sheet, int y, const LotSession& lot, UiLanguage language,
              const Formats& f)
{
    const QStringList headings = DayHeadings(language);
    for (int c = 0; c < headings.size(); ++c)
        Text(sheet, y, c, headings.at(c), f.Bold);
    Text(sheet, y, int(headings.size()), Tr(language, "状態", "State"), f.Bold);
    for (const RecordDay& day : RecordDays(lot, language)) {
        ++y;
        Text(sheet, y, 0, day.Name);
        Text(sheet, y, 1, day.Hash);
        Number(sheet, y, 2, day.Diameter, f.Whole);
        Number(sheet, y, 3, day.Poisson, nullptr);
        Text(sheet, y, 4, day.Formulas);
        worksheet_write_number(sheet, y, 5, day.Drops, nullptr);
        Text(sheet, y, 6, day.State);
    }
    return y + 1;
}

// Where the places come from, from row `y`: the clock, the reference system and each file
// with its whole hash.
void WritePlaceSources(lxw_worksheet* sheet, int y, const LotSession& lot, UiLanguage language,
                       const Formats& f)
{
    for (const QStringList& pair : RecordPlaceSettings(lot, language)) {
        Text(sheet, y, 0, pair.at(0), f.Bold);
        Text(sheet, y++, 1, pair.at(1));
    }
    const std::vector<RecordPlaceFile> files = RecordPlaceFiles(lot, language);
    if (files.empty())
        return;
    const QStringList headings = PlaceFileHeadings(language);
    for (int c = 0; c < headings.size(); ++c)
        Text(sheet, y, c, headings.at(c), f.Bold);
    Text(sheet, y, int(headings.size()), Tr(language, "状態", "State"), f.Bold);
    for (const RecordPlaceFile& file : files) {
        ++y;
        Text(sheet, y, 0, file.Name);
        Text(sheet, y, 1, file.Hash);
        Text(sheet, y, 2, file.Kind);
        Text(sheet, y, 3, file.State);
    }
}

void WriteEdits(lxw_workbook* book, const LotSession& lot, UiLanguage language, const Formats& f)
{
    lxw_worksheet* sheet =
        workbook_add_worksheet(book, language == UiLanguage::Japanese ? "変更" : "Edits");
    Headings(sheet, EditHeadings(language), f);
    worksheet_set_column(sheet, 9, 9, 40, nullptr);
    int y = 0;
    for (const RecordEdit& e : RecordEdits(lot, language)) {
        ++y;
        const QStringList cells = EditCells(e, language);
        if (e.Point >= 0)
            worksheet_write_number(sheet, y, 0, e.Point + 1, nullptr);
        Text(sheet, y, 1, cells.at(1));
        Text(sheet, y, 2, e.File);
        Text(sheet, y, 3, cells.at(3));
        When(sheet, y, 4, e.When, f.When);
        Number(sheet, y, 5, e.K && *e.K >= 0.0 ? e.K : std::nullopt, f.Whole);
        Number(sheet, y, 6, e.E && *e.E >= 0.0 ? e.E : std::nullopt, f.Whole);
        Text(sheet, y, 7, e.By);
        if (e.At.isValid())
            When(sheet, y, 8, e.At.toUTC(), f.When);
        Text(sheet, y, 9, cells.at(9));
    }
}

void WriteLot(lxw_workbook* book, const LotSession& lot, const QDate& issued, UiLanguage language,
              const Formats& f)
{
    lxw_worksheet* sheet =
        workbook_add_worksheet(book, language == UiLanguage::Japanese ? "ロット" : "Lot");
    worksheet_set_column(sheet, 0, 0, 28, nullptr);
    worksheet_set_column(sheet, 1, 7, 14, nullptr);
    const LotDocument& doc = lot.Document();
    const LotSummary& s = lot.Summary();
    int y = 0;
    const auto line = [&](const QString& label) {
        Text(sheet, y, 0, label, f.Bold);
        return y++;
    };
    const QStringList labels = HeaderLabels(language), values = HeaderValues(doc.Header);
    for (int i = 0; i < labels.size(); ++i)
        Text(sheet, line(labels.at(i)), 1, values.at(i));
    Text(sheet, line(Tr(language, "ロットファイル", "Lot file")), 1,
         QFileInfo(lot.Path()).fileName());
    Number(sheet, line(QStringLiteral("K-NWR ≥ (MN/m3)")), 1, doc.Judgement.Need.K, nullptr);
    Number(sheet, line(QStringLiteral("E-NWR ≥ (MN/m2)")), 1, doc.Judgement.Need.E, nullptr);
    Text(sheet, line(Tr(language, "判定方法", "Rule")), 1,
         RuleText(doc.Judgement.Rule).Pick(language));
    Number(sheet, line(Tr(language, "特性値の k", "k")), 1, doc.Judgement.QuantileFactor, nullptr);
    Number(sheet, line(Tr(language, "測点の区切り (秒)", "Gap (s)")), 1, doc.Rules.GapSeconds,
           nullptr);
    Number(sheet, line(Tr(language, "予備打撃の数", "Seating drops")), 1, doc.Rules.Seating,
           nullptr);
    Number(sheet, line(Tr(language, "最少採用打撃数", "Least used drops")), 1, doc.Rules.LeastUsed,
           nullptr);
    When(sheet, line(Tr(language, "発行日", "Date of issue")), 1, QDateTime(issued, QTime(0, 0)),
         f.Day);
    Text(sheet, line(Tr(language, "プログラム", "Program")), 1, ProgramText());
    ++y;
    Number(sheet, line(Tr(language, "測点数", "Points")), 1, s.Points, nullptr);
    Number(sheet, line(Tr(language, "値のある測点", "Points with a value")), 1, s.WithValue,
           nullptr);
    Number(sheet, line(Tr(language, "合格", "Passed")), 1, s.Passed, nullptr);
    lxw_format* percent = workbook_add_format(book);
    format_set_num_format(percent, "0%");
    Number(sheet, line(Tr(language, "合格率", "Share passed")), 1, s.PassedShare, percent);
    ++y;
    const std::vector<QStringList> rows = LotSummaryRows(lot, language);
    for (int c = 1; c < rows[1].size(); ++c)
        Text(sheet, y, c, rows[1].at(c), f.Bold);
    ++y;
    for (const auto& [name, v] : {std::pair{QStringLiteral("K-NWR(MN/m3)"), s.K},
                                  std::pair{QStringLiteral("E-NWR(MN/m2)"), s.E}}) {
        line(name);
        worksheet_write_number(sheet, y - 1, 1, v.Count, nullptr);
        if (v.Count == 0)
            continue;
        Number(sheet, y - 1, 2, v.Mean, f.OneDecimal);
        Number(sheet, y - 1, 3, If(v.Count >= 2, v.StdDev), f.OneDecimal);
        Number(sheet, y - 1, 4, v.Min, f.OneDecimal);
        Number(sheet, y - 1, 5, v.Max, f.OneDecimal);
        Number(sheet, y - 1, 6, v.Characteristic, f.OneDecimal);
    }
    ++y;
    const QString draft = DraftText(lot, language);
    Text(sheet, line(Tr(language, "ロットの判定", "Lot verdict")), 1,
         draft.isEmpty() ? VerdictText(s.Result).Pick(language) : DraftMark(language), f.Bold);
    Text(sheet, y - 1, 2, draft.isEmpty() ? s.Why.Pick(language) : draft);
    const int after = WriteDays(sheet, y + 1, lot, language, f);
    if (lot.Places().HasSource())
        WritePlaceSources(sheet, after + 1, lot, language, f);
}

} // namespace

bool WriteLotWorkbook(const QString& path, const LotSession& lot, const QDate& issued,
                      UiLanguage language, Bilingual* reason, const CoordinateColumns* places)
{
    return SaveWorkbook(
        path, OutputRules{lot.InputFiles(), false},
        [&](lxw_workbook* book) {
            const Formats formats = MakeFormats(book, language);
            WritePoints(book, lot, language, formats, places);
            WriteDrops(book, lot, language, formats);
            WriteLot(book, lot, issued, language, formats);
            WriteEdits(book, lot, language, formats);
        },
        reason);
}

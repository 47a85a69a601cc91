#include "DayWorkbook.h"

#include "DayTexts.h"
#include "days/DayIndex.h"
#include "outputs/WorkbookFile.h"
#include "record/PositionLine.h"

#include <QDir>
#include <QFileInfo>

#include <xlsxwriter.h>

#include <map>

namespace
{

lxw_datetime ExcelDateTime(const QDateTime& t)
{
    return lxw_datetime{t.date().year(), t.date().month(),  t.date().day(),
                        t.time().hour(), t.time().minute(), double(t.time().second())};
}

// The workbook's formats: a number format, and the marked rows' tint, each made once.
class Formats
{
public:
    explicit Formats(lxw_workbook* book) : m_book(book) {}
    lxw_format* Get(const QByteArray& numberFormat, bool tinted = false)
    {
        lxw_format*& f = m_made[{numberFormat, tinted}];
        if (!f) {
            f = workbook_add_format(m_book);
            if (!numberFormat.isEmpty())
                format_set_num_format(f, numberFormat.constData());
            if (tinted)
                format_set_bg_color(f, MarkedTint);
        }
        return f;
    }
    lxw_format* Bold()
    {
        if (!m_bold) {
            m_bold = workbook_add_format(m_book);
            format_set_bold(m_bold);
        }
        return m_bold;
    }

private:
    lxw_workbook* m_book;
    std::map<std::pair<QByteArray, bool>, lxw_format*> m_made;
    lxw_format* m_bold = nullptr;
};

void WriteText(lxw_worksheet* sheet, int row, int col, const QString& text, lxw_format* f = nullptr)
{
    worksheet_write_string(sheet, row, col, text.toUtf8().constData(), f);
}

// Where the results sheet's table starts, below the day's title and settings.
constexpr int TableRow = 7;

void WriteContext(lxw_worksheet* sheet, Formats& formats, const ReviewedDay& reviewed,
                  const DaySelection& selection)
{
    const DayFile& day = reviewed.File();
    const UiLanguage language = reviewed.Language();
    WriteText(sheet, 0, 0, DayTitle(reviewed, selection), formats.Bold());
    WriteText(sheet, 1, 0, Tr(language, "載荷板直径 (mm)", "Plate diameter (mm)"));
    if (day.Header.HasDiameter)
        worksheet_write_number(sheet, 1, 1, day.Header.Diameter, formats.Get("0"));
    WriteText(sheet, 2, 0, Tr(language, "ポアソン比", "Poisson's ratio"));
    if (day.Header.HasPoisson)
        worksheet_write_number(sheet, 2, 1, day.Header.Poisson, formats.Get("0.000"));
    WriteText(sheet, 3, 0, Tr(language, "E の計算方法", "E calculation"));
    QStringList names;
    for (const QString& type : SummariseDay(day).CalcTypes.split('/', Qt::SkipEmptyParts))
        names << CalcTypeName(type, language);
    WriteText(sheet, 3, 1, names.join(QStringLiteral(", ")));
    WriteText(sheet, 4, 0, Tr(language, "元のファイル", "Source file"));
    WriteText(sheet, 4, 1, QDir::toNativeSeparators(day.Path));
    WriteText(sheet, 5, 0, QStringLiteral("*"), formats.Get({}, true));
    WriteText(sheet, 5, 1, MarkLegend(reviewed));
}

void WriteResults(lxw_workbook* book, Formats& formats, const ReviewedDay& day,
                  const DaySelection& selection)
{
    const UiLanguage language = day.Language();
    lxw_worksheet* sheet =
        workbook_add_worksheet(book, language == UiLanguage::Japanese ? "測定結果" : "Results");
    WriteContext(sheet, formats, day, selection);
    const QByteArray when =
        language == UiLanguage::Japanese ? "yyyy/mm/dd hh:mm:ss" : "mm/dd/yyyy hh:mm:ss";
    const std::vector<ReviewColumn>& columns = day.Columns();
    const int markColumn = int(columns.size());
    for (size_t c = 0; c < columns.size(); ++c) {
        WriteText(sheet, TableRow, int(c), columns[c].Heading, formats.Bold());
        worksheet_set_column(sheet, c, c, c == 1 ? 20 : 14, nullptr);
    }
    WriteText(sheet, TableRow, markColumn, QStringLiteral("*"), formats.Bold());
    worksheet_freeze_panes(sheet, TableRow + 1, 0);
    const std::vector<int>& covered = selection.Covered;
    for (size_t n = 0; n < covered.size(); ++n) {
        const ReviewRow& row = day.File().Rows[covered[n]];
        const bool tint = day.Marked(covered[n]);
        const int y = TableRow + 1 + int(n);
        for (size_t c = 0; c < columns.size(); ++c) {
            const ReviewColumn& col = columns[c];
            bool ok = false;
            const double number = row.Entry.No.toDouble(&ok);
            switch (col.What) {
            case ReviewColumn::Kind::No:
                if (ok)
                    worksheet_write_number(sheet, y, c, number, formats.Get("00000", tint));
                else
                    WriteText(sheet, y, int(c), row.Entry.No, formats.Get({}, tint));
                break;
            case ReviewColumn::Kind::DateTime: {
                lxw_datetime t = ExcelDateTime(row.When);
                worksheet_write_datetime(sheet, y, c, &t, formats.Get(when, tint));
                break;
            }
            case ReviewColumn::Kind::CalcType:
                WriteText(sheet, y, int(c), row.CalcType, formats.Get({}, tint));
                break;
            case ReviewColumn::Kind::Value: {
                // An undefined value stays an empty cell, so that sums and means over the
                // column in the spreadsheet leave it out as the statistics do.
                const double v = col.Of.ValueOf(row.Entry);
                lxw_format* f = formats.Get(col.Of.Format().toLatin1(), tint);
                if (IsDefinedValue(col.Of.IsKOrE(), v))
                    worksheet_write_number(sheet, y, c, v, f);
                else
                    worksheet_write_blank(sheet, y, c, f);
                break;
            }
            }
        }
        if (tint)
            WriteText(sheet, y, markColumn, QStringLiteral("*"), formats.Get({}, tint));
    }
}

void WriteStatistics(lxw_workbook* book, Formats& formats, const ReviewedDay& day,
                     const DaySelection& selection)
{
    const UiLanguage language = day.Language();
    lxw_worksheet* sheet =
        workbook_add_worksheet(book, language == UiLanguage::Japanese ? "統計" : "Statistics");
    WriteText(sheet, 0, 0, StatisticsCaption(day, selection), formats.Bold());
    WriteText(sheet, 1, 0, FormulaNote(day, selection));
    const QStringList headings = StatisticsHeadings(language);
    for (int c = 0; c < headings.size(); ++c)
        WriteText(sheet, 2, c, headings.at(c), formats.Bold());
    worksheet_set_column(sheet, 0, 0, 18, nullptr);
    worksheet_set_column(sheet, 1, 6, 12, nullptr);
    const std::vector<QStringList> lines = StatisticsLines(day, selection);
    for (size_t i = 0; i < lines.size(); ++i) {
        const int y = int(i) + 3;
        const ColumnStatistics& s = selection.Statistics[i];
        const double values[] = {double(s.Count), s.Mean, s.StdDev, s.Variation, s.Min, s.Max};
        // The cells the screen shows as "------" say so here too.
        const QStringList& shown = lines[i];
        WriteText(sheet, y, 0, shown.at(0));
        for (int c = 1; c < shown.size(); ++c) {
            if (shown.at(c) == QLatin1String("------"))
                WriteText(sheet, y, c, shown.at(c));
            else
                worksheet_write_number(
                    sheet, y, c, values[c - 1],
                    formats.Get(StatisticFormat(selection.Quantities[i], c).toLatin1()));
        }
    }
}

} // namespace

bool WriteDayWorkbook(const QString& path, const ReviewedDay& day, const DaySelection& selection,
                      Bilingual* reason)
{
    return SaveWorkbook(
        path, OutputRules{{day.File().Path, PositionsFilePath(day.File().Path)}, false},
        [&](lxw_workbook* book) {
            Formats formats(book);
            WriteResults(book, formats, day, selection);
            WriteStatistics(book, formats, day, selection);
        },
        reason);
}

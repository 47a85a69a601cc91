#include "ExcelExport.h"

#include "DayStatistics.h"
#include "ReviewTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <xlsxwriter.h>

namespace
{

// Excel's number formats for the program's display formats.
QByteArray ExcelFormat(const QString& format)
{
    return format == QLatin1String("00000") ? QByteArray("00000") : format.toLatin1();
}

lxw_datetime ExcelDateTime(const QDateTime& t)
{
    return lxw_datetime{t.date().year(), t.date().month(),  t.date().day(),
                        t.time().hour(), t.time().minute(), double(t.time().second())};
}

class Workbook
{
public:
    explicit Workbook(const QString& path)
        : m_book(workbook_new(QFile::encodeName(path).constData()))
    {
    }
    ~Workbook()
    {
        if (m_book)
            workbook_close(m_book);
    }
    lxw_workbook* Get() const { return m_book; }
    lxw_error Close()
    {
        lxw_workbook* book = m_book;
        m_book = nullptr;
        return workbook_close(book);
    }

private:
    lxw_workbook* m_book;
};

lxw_format* NumberFormat(lxw_workbook* book, const QByteArray& format)
{
    lxw_format* f = workbook_add_format(book);
    format_set_num_format(f, format.constData());
    return f;
}

void WriteText(lxw_worksheet* sheet, int row, int col, const QString& text, lxw_format* f = nullptr)
{
    worksheet_write_string(sheet, row, col, text.toUtf8().constData(), f);
}

void WriteResults(lxw_workbook* book, const DayFile& day, int16_t language)
{
    lxw_worksheet* sheet = workbook_add_worksheet(book, language == 0 ? "測定結果" : "Results");
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format* no = NumberFormat(book, "00000");
    lxw_format* when =
        NumberFormat(book, language == 0 ? "yyyy/mm/dd hh:mm:ss" : "mm/dd/yyyy hh:mm:ss");
    const std::vector<ReviewColumn> columns = DayColumns(day, language);
    std::vector<lxw_format*> valueFormats;
    valueFormats.reserve(columns.size());
    for (const ReviewColumn& c : columns)
        valueFormats.push_back(c.What == ReviewColumn::Kind::Value
                                   ? NumberFormat(book, ExcelFormat(c.Of.Format()))
                                   : nullptr);
    for (size_t c = 0; c < columns.size(); ++c) {
        WriteText(sheet, 0, int(c), columns[c].Heading, bold);
        worksheet_set_column(sheet, c, c, c == 1 ? 20 : 14, nullptr);
    }
    worksheet_freeze_panes(sheet, 1, 0);
    for (size_t r = 0; r < day.Rows.size(); ++r) {
        const ReviewRow& row = day.Rows[r];
        const int y = int(r) + 1;
        for (size_t c = 0; c < columns.size(); ++c) {
            const ReviewColumn& col = columns[c];
            bool ok = false;
            const double number = row.Entry.No.toDouble(&ok);
            switch (col.What) {
            case ReviewColumn::Kind::No:
                if (ok)
                    worksheet_write_number(sheet, y, c, number, no);
                else
                    WriteText(sheet, y, int(c), row.Entry.No);
                break;
            case ReviewColumn::Kind::DateTime: {
                lxw_datetime t = ExcelDateTime(row.When);
                worksheet_write_datetime(sheet, y, c, &t, when);
                break;
            }
            case ReviewColumn::Kind::CalcType:
                WriteText(sheet, y, int(c), row.CalcType);
                break;
            case ReviewColumn::Kind::Value: {
                const double v = col.Of.ValueOf(row.Entry);
                if (IsDefinedValue(col.Of.IsKOrE(), v))
                    worksheet_write_number(sheet, y, c, v, valueFormats[c]);
                else
                    WriteText(sheet, y, int(c), CellText(row, col).trimmed());
                break;
            }
            }
        }
    }
}

void WriteStatistics(lxw_workbook* book, const DayFile& day, int16_t language)
{
    lxw_worksheet* sheet = workbook_add_worksheet(book, language == 0 ? "統計" : "Statistics");
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    const QStringList headings = StatisticsHeadings(language);
    for (int c = 0; c < headings.size(); ++c)
        WriteText(sheet, 0, c, headings.at(c), bold);
    worksheet_set_column(sheet, 0, 0, 18, nullptr);
    worksheet_set_column(sheet, 1, 6, 12, nullptr);
    const std::vector<ReviewColumn> columns = DayColumns(day, language);
    const std::vector<Quantity> quantities = DayQuantities(day);
    const std::vector<ColumnStatistics> stats = DayStatistics(day, quantities);
    for (size_t i = 0; i < quantities.size(); ++i) {
        const int y = int(i) + 1;
        const ColumnStatistics& s = stats[i];
        WriteText(sheet, y, 0, QuantityHeading(columns, quantities[i]));
        worksheet_write_number(sheet, y, 1, s.Count, nullptr);
        if (s.Count == 0)
            continue;
        worksheet_write_number(sheet, y, 2, s.Mean, nullptr);
        if (s.HasSpread()) {
            worksheet_write_number(sheet, y, 3, s.StdDev, nullptr);
            worksheet_write_number(sheet, y, 4, s.Variation, nullptr);
        }
        worksheet_write_number(sheet, y, 5, s.Min, nullptr);
        worksheet_write_number(sheet, y, 6, s.Max, nullptr);
    }
}

} // namespace

bool WriteExcelFile(const QString& path, const DayFile& day, int16_t uiLanguage, QString* error)
{
    const QString part = path + QStringLiteral(".part");
    {
        Workbook book(part);
        if (!book.Get()) {
            if (error)
                *error = QStringLiteral("cannot create %1").arg(QDir::toNativeSeparators(part));
            return false;
        }
        WriteResults(book.Get(), day, uiLanguage);
        WriteStatistics(book.Get(), day, uiLanguage);
        const lxw_error result = book.Close();
        if (result != LXW_NO_ERROR) {
            QFile::remove(part);
            if (error)
                *error = QString::fromUtf8(lxw_strerror(result));
            return false;
        }
    }
    QFile::remove(path);
    if (!QFile::rename(part, path)) {
        QFile::remove(part);
        if (error)
            *error = QStringLiteral("cannot write %1").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

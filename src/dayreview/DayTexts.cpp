#include "DayTexts.h"

#include "record/DayFiles.h"
#include "record/LoggerSettings.h"
#include "record/ResultsLine.h"
#include "record/ResultsText.h"
#include "shell/Formatting.h"

#include <QFileInfo>
#include <QVariant>

namespace
{

const QString Tab = QStringLiteral("\t");
const QString LineEnd = QStringLiteral("\r\n");

// One more decimal than the values themselves, so that a mean of whole newtons shows
// whether it lies between two of them.
QString MeanFormat(const QString& format)
{
    return format.contains('.') ? format + '0' : format + QStringLiteral(".0");
}

} // namespace

QString CellText(const ReviewRow& row, const ReviewColumn& column)
{
    switch (column.What) {
    case ReviewColumn::Kind::No:
        return row.Entry.No;
    case ReviewColumn::Kind::DateTime:
        return row.Entry.DateTime;
    case ReviewColumn::Kind::CalcType:
        return row.CalcType;
    case ReviewColumn::Kind::Value:
        break;
    }
    return ShownValue(column.Of.ValueOf(row.Entry), column.Of.Format(), column.Of.IsKOrE());
}

QVariant CellSortKey(const ReviewRow& row, const ReviewColumn& column)
{
    switch (column.What) {
    case ReviewColumn::Kind::No: {
        bool ok = false;
        const int n = row.Entry.No.toInt(&ok);
        return ok ? QVariant(n) : QVariant(row.Entry.No);
    }
    case ReviewColumn::Kind::DateTime:
        return row.When;
    case ReviewColumn::Kind::CalcType:
        return row.CalcType;
    case ReviewColumn::Kind::Value:
        break;
    }
    const double v = column.Of.ValueOf(row.Entry);
    return IsDefinedValue(column.Of.IsKOrE(), v) ? v : -1.0;
}

QString TableTabText(const ReviewedDay& day, const std::vector<int>& rows)
{
    QStringList cells;
    for (const ReviewColumn& c : day.Columns())
        cells << c.Heading;
    QString text = cells.join(Tab) + LineEnd;
    for (int r : rows) {
        cells.clear();
        for (const ReviewColumn& c : day.Columns())
            cells << CellText(day.File().Rows.at(r), c);
        text += cells.join(Tab) + LineEnd;
    }
    return text;
}

QStringList StatisticsHeadings(UiLanguage uiLanguage)
{
    if (uiLanguage == UiLanguage::Japanese)
        return QString::fromUtf8("項目,個数,平均,標準偏差 (n−1),変動係数(%),最小,最大").split(',');
    return QString::fromUtf8("Value,Count,Mean,SD (n−1),CV (%),Min,Max").split(',');
}

QString StatisticFormat(const Quantity& q, int column)
{
    switch (column) {
    case 1:
        return QStringLiteral("0");
    case 2:
    case 3:
        return MeanFormat(q.Format());
    case 4:
        return QStringLiteral("0.0");
    }
    return q.Format();
}

QStringList StatisticsCells(const QString& quantityHeading, const Quantity& q,
                            const ColumnStatistics& s)
{
    const QString none = QStringLiteral("------");
    if (s.Count == 0)
        return {quantityHeading, QStringLiteral("0"), none, none, none, none, none};
    return {quantityHeading,
            QString::number(s.Count),
            FormatNumber(s.Mean, StatisticFormat(q, 2)),
            s.HasSpread() ? FormatNumber(s.StdDev, StatisticFormat(q, 3)) : none,
            s.HasSpread() && s.Mean != 0.0 ? FormatNumber(s.Variation, StatisticFormat(q, 4))
                                           : none,
            FormatNumber(s.Min, StatisticFormat(q, 5)),
            FormatNumber(s.Max, StatisticFormat(q, 6))};
}

std::vector<QStringList> StatisticsLines(const ReviewedDay& day, const DaySelection& selection)
{
    std::vector<QStringList> lines;
    for (size_t i = 0; i < selection.Quantities.size(); ++i) {
        const Quantity& q = selection.Quantities[i];
        lines.push_back(
            StatisticsCells(QuantityHeading(day.Columns(), q), q, selection.Statistics[i]));
    }
    return lines;
}

QString QuantityHeading(const std::vector<ReviewColumn>& columns, const Quantity& q)
{
    for (const ReviewColumn& c : columns) {
        if (c.What == ReviewColumn::Kind::Value && c.Of.What == q.What && c.Of.Answer == q.Answer)
            return q.CalcType.isEmpty() ? c.Heading : c.Heading + QLatin1Char(' ') + q.CalcType;
    }
    return QString();
}

QString DayText(const QDate& date, UiLanguage uiLanguage)
{
    return date.toString(uiLanguage == UiLanguage::Japanese ? QStringLiteral("yyyy/MM/dd")
                                                            : QStringLiteral("MM/dd/yyyy"));
}

QString ScopeText(const ReviewedDay& day, const DaySelection& selection)
{
    if (selection.WholeDay())
        return Tr(day.Language(), "1 日分 (全 %1 件)", "Whole day (all %1 results)")
            .arg(day.Results());
    return Tr(day.Language(), "選択した行 (%2 件中 %1 件)", "Chosen rows (%1 of %2 results)")
        .arg(selection.Chosen.size())
        .arg(day.Results());
}

QString DayTitle(const ReviewedDay& day, const DaySelection& selection)
{
    return Tr(day.Language(), "VX-2968 測定結果  %1  %2", "VX-2968 Results of %1  %2")
        .arg(DayText(day.File().Date, day.Language()), ScopeText(day, selection));
}

QString StatisticsCaption(const ReviewedDay& day, const DaySelection& selection)
{
    const UiLanguage language = day.Language();
    return selection.WholeDay()
               ? Tr(language, "その日の全 %1 件の統計", "Statistics of all %1 results of the day")
                     .arg(day.Results())
               : Tr(language, "選択した %1 件の統計", "Statistics of the %1 chosen result(s)")
                     .arg(selection.Chosen.size());
}

QString FormulaNote(const ReviewedDay& day, const DaySelection& selection)
{
    if (!selection.MixesFormulas)
        return QString();
    return Tr(
        day.Language(),
        "E は計算方法ごと: バーミスター (BU) とブーシネスク (BO) の E は比べられず、平均しません。",
        "E for each formula apart: Burmister (BU) and Boussinesq (BO) moduli are not "
        "comparable and are never averaged together.");
}

QString MarkLegend(const ReviewedDay& day)
{
    const UiLanguage uiLanguage = day.Language();
    return Tr(uiLanguage, "K または E がその日の全結果の平均 ± 2 SD (n−1) の外にある結果%1",
              "K or E outside the mean ± 2 SD (n−1) of all the day's results%1")
        .arg(day.MixesFormulas() ? Tr(uiLanguage, " (E は計算方法ごと)", ", E for each formula")
                                 : QString());
}

QString CalcTypeName(const QString& calcTypes, UiLanguage uiLanguage)
{
    if (calcTypes == QLatin1String("BU"))
        return Tr(uiLanguage, "バーミスター (BU)", "Burmister (BU)");
    if (calcTypes == QLatin1String("BO"))
        return Tr(uiLanguage, "ブーシネスク (BO)", "Boussinesq (BO)");
    return calcTypes;
}

QString DaySettingsText(const ReviewedDay& reviewed)
{
    const DayFile& day = reviewed.File();
    const UiLanguage uiLanguage = reviewed.Language();
    const QString none = QStringLiteral("------");
    const QString dia = day.Header.HasDiameter
                            ? QString::number(day.Header.Diameter) + QStringLiteral(" mm")
                            : none;
    const QString poi =
        day.Header.HasPoisson ? FormatNumber(day.Header.Poisson, QStringLiteral("0.000")) : none;
    QStringList types;
    for (const ReviewRow& row : day.Rows) {
        if (!types.contains(row.CalcType))
            types << row.CalcType;
    }
    QStringList names;
    for (const QString& t : types)
        names << CalcTypeName(t, uiLanguage);
    return Tr(uiLanguage, "載荷板直径 %1    ポアソン比 %2    E の計算方法 %3    %4",
              "Plate diameter %1    Poisson's ratio %2    E calculation %3    %4")
        .arg(dia, poi, names.isEmpty() ? none : names.join(QStringLiteral(", ")),
             QFileInfo(day.Path).fileName());
}

Bilingual NoResultsYet()
{
    return Bilingual{QString::fromUtf8("まだ結果がありません (見出しだけのファイルです)"),
                     QStringLiteral("no results yet (the file holds its heading only)")};
}

QString SkippedLinesText(const ReviewedDay& reviewed)
{
    const DayFile& day = reviewed.File();
    const UiLanguage uiLanguage = reviewed.Language();
    if (day.Refused())
        return QFileInfo(day.Path).fileName() + QLatin1Char(' ') + day.Problem.Pick(uiLanguage);
    if (day.Skipped.empty())
        return day.Rows.empty() ? NoResultsYet().Pick(uiLanguage) : QString();
    QStringList lines;
    lines << Tr(uiLanguage, "%1 行を読み飛ばしました:", "%1 line(s) skipped:")
                 .arg(day.Skipped.size());
    for (const SkippedLine& s : day.Skipped)
        lines << Tr(uiLanguage, "%1 行目: %2", "line %1: %2")
                     .arg(s.LineNumber)
                     .arg(s.Reason.Pick(uiLanguage));
    return lines.join(QLatin1Char('\n'));
}

#include "LotTexts.h"

#include "lot/LotVerdict.h"
#include "record/PlaceFormat.h"
#include "record/ResultComputation.h"
#include "shell/Formatting.h"

namespace
{

QString Signed(const std::optional<double>& v)
{
    if (!v)
        return QString();
    return (*v >= 0.0 ? QStringLiteral("+") : QString()) + QString::number(*v, 'f', 1);
}

QString Number(double v, int decimals = 1)
{
    return QString::number(v, 'f', decimals);
}

QStringList ValueRow(const QString& name, const ValueSummary& s, UiLanguage language)
{
    if (s.Count == 0)
        return {name, Tr(language, "値なし", "no value")};
    QStringList row{name, QString::number(s.Count), Number(s.Mean)};
    row << (s.Count >= 2 ? Number(s.StdDev) : QStringLiteral("-")) << Number(s.Min) << Number(s.Max)
        << (s.Characteristic ? Number(*s.Characteristic) : QStringLiteral("-"));
    return row;
}

} // namespace

QString DayFilesText(const LotSession& lot, UiLanguage language)
{
    const int count = int(lot.Document().Files.size());
    constexpr int Named = 3;
    if (count <= Named) {
        QStringList names;
        for (int f = 0; f < count; ++f)
            names << lot.FileName(f);
        return names.join(QStringLiteral(", "));
    }
    return Tr(language, "日のファイル %1 個: %2 … %3", "%1 day files: %2 … %3")
        .arg(count)
        .arg(lot.FileName(0), lot.FileName(count - 1));
}

QStringList PointHeadings(UiLanguage language)
{
    if (language == UiLanguage::Japanese)
        return {QString::fromUtf8("測点"),        QString::fromUtf8("位置"),
                QString::fromUtf8("最初の打撃"),  QString::fromUtf8("打撃数"),
                QString::fromUtf8("採用"),        QString::fromUtf8("荷重 P0(N)"),
                QString::fromUtf8("変位 D0(mm)"), QStringLiteral("K-NWR(MN/m3)"),
                QStringLiteral("E-NWR(MN/m2)"),   QString::fromUtf8("K の差"),
                QString::fromUtf8("E の差"),      QString::fromUtf8("判定")};
    return {"Point",  "Location",     "First drop",   "Drops",   "Used",    "P0(N)",
            "D0(mm)", "K-NWR(MN/m3)", "E-NWR(MN/m2)", "K diff.", "E diff.", "Result"};
}

QStringList PointCells(const LotSession& lot, int p, UiLanguage language)
{
    const LotPoint& point = lot.Points()[p];
    const PointValues& v = point.Values;
    const PointVerdict verdict = lot.VerdictOf(p);
    QString result =
        verdict.Result == Verdict::None ? QString() : VerdictText(verdict.Result).Pick(language);
    if (point.Excluded())
        result = Tr(language, "除外: ", "left out: ") + point.Mark->Reason;
    return QStringList{QString::number(p + 1), point.Location(),
                       FormatDateTimeText(v.FirstDrop, language), QString::number(v.Drops),
                       QString::number(v.Used)}
           << MeanTexts(v) << Signed(verdict.DiffK) << Signed(verdict.DiffE) << result;
}

QString PointNote(const LotPoint& point, UiLanguage language)
{
    return PointNoteOf(point).Pick(language);
}

QStringList DropHeadings(UiLanguage language)
{
    if (language == UiLanguage::Japanese)
        return {QStringLiteral("No"),
                QString::fromUtf8("日時"),
                QString::fromUtf8("採否"),
                QString::fromUtf8("荷重 P0(N)"),
                QString::fromUtf8("変位 D0(mm)"),
                QStringLiteral("K-NWR(MN/m3)"),
                QStringLiteral("E-NWR(MN/m2)"),
                QString::fromUtf8("計算"),
                QString::fromUtf8("ファイル")};
    return {"No",           "Date Time",    "Use",         "P0(N)", "D0(mm)",
            "K-NWR(MN/m3)", "E-NWR(MN/m2)", "Calculation", "File"};
}

QString DropStateText(const PointDrop& drop, UiLanguage language)
{
    if (drop.State == DropState::Seating)
        return Tr(language, "除外: 予備打撃", "left out: seating");
    if (drop.State == DropState::Excluded)
        return Tr(language, "除外: ", "left out: ") + drop.Choice->Shown().Pick(language);
    if (drop.Choice)
        return drop.Choice->Shown().Pick(language);
    return Tr(language, "採用", "used");
}

QStringList DropCells(const LotSession& lot, const PointDrop& drop, UiLanguage language)
{
    const LotDrop& d = lot.Drops()[drop.Index];
    const auto value = [](double v, const char* format, bool kOrE) {
        if (kOrE)
            return v < 0.0 ? QStringLiteral("Calc Error") : FormatNumber(v, format);
        return FormatPositive(v, format);
    };
    return {d.No,
            FormatDateTimeText(d.When, language),
            DropStateText(drop, language),
            value(d.P0, "0", false),
            value(d.D0, "0.000", false),
            value(d.K, "0", true),
            value(d.E, "0", true),
            CalcTypeCode(d.Calc),
            lot.FileName(d.File) + QLatin1Char(':') + QString::number(d.Line)};
}

QString RequirementText(const Requirement& need, UiLanguage language)
{
    QStringList parts;
    if (need.K)
        parts << QStringLiteral("K-NWR ≥ %1 MN/m3").arg(FormatGeneral(*need.K));
    if (need.E)
        parts << QStringLiteral("E-NWR ≥ %1 MN/m2").arg(FormatGeneral(*need.E));
    if (parts.isEmpty())
        return Tr(language, "規定値なし", "no requirement");
    return parts.join(Tr(language, " かつ ", " and "));
}

std::vector<QStringList> LotSummaryRows(const LotSession& lot, UiLanguage language)
{
    const LotSummary& s = lot.Summary();
    const LotJudgement& j = lot.Document().Judgement;
    std::vector<QStringList> rows;
    rows.push_back({Tr(language, "値のある測点", "Points with a value"),
                    QString::number(s.WithValue), Tr(language, "合格", "Passed"),
                    QString::number(s.Passed), Tr(language, "合格率", "Share passed"),
                    QString::number(100.0 * s.PassedShare, 'f', 0) + QStringLiteral(" %")});
    rows.push_back({QString(), Tr(language, "測点数", "Points"), Tr(language, "平均", "Mean"),
                    Tr(language, "標準偏差 (n−1)", "SD (n−1)"), Tr(language, "最小", "Min"),
                    Tr(language, "最大", "Max"),
                    Tr(language, "特性値 (k = %1)", "Characteristic (k = %1)")
                        .arg(FormatGeneral(j.QuantileFactor))});
    rows.push_back(ValueRow(QStringLiteral("K-NWR(MN/m3)"), s.K, language));
    rows.push_back(ValueRow(QStringLiteral("E-NWR(MN/m2)"), s.E, language));
    return rows;
}

QString LotVerdictLine(const LotSession& lot, UiLanguage language)
{
    const LotSummary& s = lot.Summary();
    return Tr(language, "ロットの判定 (%1): %2  —  %3", "Lot verdict (%1): %2  —  %3")
        .arg(RuleText(lot.Document().Judgement.Rule).Pick(language),
             VerdictText(s.Result).Pick(language), s.Why.Pick(language));
}

QStringList HeaderLabels(UiLanguage language)
{
    if (language == UiLanguage::Japanese)
        return {QString::fromUtf8("現場"),  QString::fromUtf8("工区・ロット"),
                QString::fromUtf8("層"),    QString::fromUtf8("測定者"),
                QString::fromUtf8("備考"),  QString::fromUtf8("材料"),
                QString::fromUtf8("天候"),  QString::fromUtf8("気温 (°C)"),
                QString::fromUtf8("規格"),  QString::fromUtf8("ロガー番号"),
                QString::fromUtf8("校正日")};
    return {"Site",    "Section or lot",   "Layer",    "Tester",     "Remarks",   "Material",
            "Weather", "Temperature (°C)", "Standard", "Logger No.", "Calibrated"};
}

QStringList HeaderValues(const LotHeader& h)
{
    return {h.Site,    h.Section,     h.Layer,    h.Operator,     h.Remarks,    h.Material,
            h.Weather, h.Temperature, h.Standard, h.LoggerSerial, h.Calibration};
}

QString HeaderLabel(HeaderField field, UiLanguage language)
{
    return HeaderLabels(language).at(int(field));
}

QString HeaderValue(const LotHeader& header, HeaderField field)
{
    return HeaderValues(header).at(int(field));
}

QString HtmlTable(const std::vector<QStringList>& rows)
{
    QString html = QStringLiteral("<table cellspacing=0 cellpadding=2>");
    for (const QStringList& row : rows) {
        html += QStringLiteral("<tr>");
        for (const QString& cell : row)
            html += QStringLiteral("<td align=right nowrap>") + cell.toHtmlEscaped() +
                    QStringLiteral("</td>");
        html += QStringLiteral("</tr>");
    }
    return html + QStringLiteral("</table>");
}

QString PointPlaceText(const LotSession& lot, int p, UiLanguage uiLanguage)
{
    const std::vector<PointPlace>& places = lot.Places().PointPlaces();
    if (p < 0 || size_t(p) >= places.size() || !places[size_t(p)].HasPlace)
        return {};
    const PointPlace& place = places[size_t(p)];
    const QString where =
        Tr(uiLanguage, "%1, %2 (ばらつき %3 m)", "%1, %2 (spread %3 m)")
            .arg(DegreesText(place.Where.Latitude), DegreesText(place.Where.Longitude))
            .arg(place.SpreadMetres, 0, 'f', 1);
    return place.Moved() ? where + Tr(uiLanguage, " 載荷板のずれ", " plate moved") : where;
}

#include "ResultsLine.h"

#include "ResultComputation.h"

#include "LoggerSettings.h"
#include "shell/Formatting.h"

#include <algorithm>
#include <array>

namespace
{

const QString Comma = QStringLiteral(",");
// The plate diameters and ratios the logger itself accepts.
constexpr int32_t SmallestDiameter = 1;
constexpr int32_t LargestDiameter = 1000;
constexpr int FirstExtraChannel = 3;  // CH3 is D1
constexpr int DisplacementColumn = 6; // index of field 7, CH3's column

int HighestChannel(const LoggerSettings& settings)
{
    return std::clamp<int>(settings.MaxChannel, 0, LoggerSettings::LastChannelNumber);
}

// A value field of a data line: a number, or -1 for anything else.
double FieldValue(const QList<QStringView>& fields, int index)
{
    double v = -1.0;
    if (index < fields.size() && ParseNumber(fields.at(index), &v))
        return v;
    return -1.0;
}

// The whitespace-separated words of `text`, as QString::simplified() would leave them; false
// when there are not exactly two. A year of lines is read without a string made per word.
bool TwoWords(QStringView text, QStringView* first, QStringView* second)
{
    QStringView words[2];
    int count = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        while (i < text.size() && text[i].isSpace())
            ++i;
        const qsizetype start = i;
        while (i < text.size() && !text[i].isSpace())
            ++i;
        if (i == start)
            break;
        if (count == 2)
            return false;
        words[count++] = text.sliced(start, i - start);
    }
    *first = words[0];
    *second = words[1];
    return count == 2;
}

// Splits `text` at `separator` into up to three numbers; their count, or -1 when a part is
// no number or there are more than three.
int Numbers(QStringView text, QChar separator, std::array<int, 3>* numbers,
            std::array<qsizetype, 3>* widths)
{
    int count = 0;
    qsizetype start = 0;
    while (true) {
        const qsizetype end = text.indexOf(separator, start);
        const QStringView part = text.sliced(start, (end < 0 ? text.size() : end) - start);
        bool ok = false;
        if (count == 3 || !((*numbers)[count] = part.toInt(&ok), ok))
            return -1;
        (*widths)[count++] = part.size();
        if (end < 0)
            return count;
        start = end + 1;
    }
}

// A date and time written in either language's order, without making it a moment of the
// local time zone, which is most of the work.
bool ReadResultMoment(QStringView text, QDate* date, QTime* time)
{
    QStringView day;
    QStringView clock;
    if (!TwoWords(text, &day, &clock))
        return false;
    std::array<int, 3> dn{};
    std::array<int, 3> tn{};
    std::array<qsizetype, 3> width{};
    std::array<qsizetype, 3> unused{};
    if (Numbers(day, QLatin1Char('/'), &dn, &width) != 3)
        return false;
    const int clockParts = Numbers(clock, QLatin1Char(':'), &tn, &unused);
    if (clockParts != 2 && clockParts != 3)
        return false;
    *date = QDate();
    if (width[0] == 4)
        *date = QDate(dn[0], dn[1], dn[2]); // year first: the Japanese order
    else if (width[2] == 4)
        *date = QDate(dn[2], dn[0], dn[1]); // year last: the English order
    *time = QTime(tn[0], tn[1], tn[2]);
    return date->isValid() && time->isValid();
}

} // namespace

int16_t SplitFields(const QString& text, const QString& delimiter, QStringList& fields,
                    int capacity)
{
    if (text.isEmpty() || delimiter.isEmpty() || !text.contains(delimiter) || capacity < 1)
        return -1;
    QStringList parts = text.split(delimiter, Qt::KeepEmptyParts);
    if (parts.size() > capacity)
        parts.erase(parts.begin() + capacity, parts.end());
    fields = parts;
    return static_cast<int16_t>(fields.size() - 1);
}

QString FileHeaderLine1(const LoggerSettings& settings)
{
    return QStringLiteral("Dia=") + FormatNumber(settings.PlateDiameter, QStringLiteral("0")) +
           QStringLiteral(",Poi=") + FormatNumber(settings.PoissonRatio, QStringLiteral("0.000"));
}

QString FileHeaderLine2(const LoggerSettings& settings, UiLanguage uiLanguage)
{
    const bool japanese = uiLanguage == UiLanguage::Japanese;
    std::array<QString, ResultLineFields> fields;
    const QStringList fixed =
        japanese
            ? QString::fromUtf8("No,Date Time,荷重 P0(N),変位 D0(mm), K-NWR(MN/m3),E-NWR(MN/m2)")
                  .split(Comma)
            : QStringLiteral("No,Date Time,Load P0(N),Disp. D0(mm),K-NWR(MN/m3),E-NWR(MN/m2)")
                  .split(Comma);
    for (int i = 0; i < fixed.size(); ++i)
        fields[i] = fixed.at(i);
    for (int ch = FirstExtraChannel; ch <= HighestChannel(settings); ++ch) {
        if (!settings.Channel[ch].Active)
            continue;
        const QString number = QString::number(ch - 2);
        fields[DisplacementColumn + ch - FirstExtraChannel] =
            japanese ? QString::fromUtf8("変位 D") + number + QStringLiteral("(mm)")
                     : QStringLiteral("Disp. D") + number;
    }
    fields[ResultLineFields - 1] = QStringLiteral("E-CalcType");
    return QStringList(fields.begin(), fields.end()).join(Comma);
}

QString ResultLine(const ResultEntry& entry, const LoggerSettings& settings)
{
    std::array<QString, ResultLineFields> fields;
    fields[0] = entry.No;
    fields[1] = entry.DateTime;
    fields[2] = FormatNumber(entry.Answer[1], LoadFormat);
    fields[3] = FormatNumber(entry.Answer[2], DisplacementFormat);
    fields[4] = FormatNumber(entry.K, KFormat);
    fields[5] = FormatNumber(entry.E, EFormat);
    for (int ch = FirstExtraChannel; ch <= HighestChannel(settings); ++ch) {
        if (settings.Channel[ch].Active)
            fields[DisplacementColumn + ch - FirstExtraChannel] =
                FormatNumber(entry.Answer[ch], DisplacementFormat);
    }
    fields[ResultLineFields - 1] =
        settings.CalcType == CalcTypeBurmister ? QStringLiteral("BU") : QStringLiteral("BO");
    return QStringList(fields.begin(), fields.end()).join(Comma);
}

FileHeader ParseFileHeader(const QStringList& items)
{
    FileHeader header;
    for (const QString& item : items) {
        const int eq = item.indexOf(QLatin1Char('='));
        double v = 0.0;
        if (eq < 0 || !ParseNumber(item.mid(eq + 1), &v))
            continue;
        if (item.contains(QLatin1String("Dia"))) {
            const double whole = RoundHalfEven(v);
            if (whole >= SmallestDiameter && whole <= LargestDiameter) {
                header.HasDiameter = true;
                header.Diameter = static_cast<int32_t>(whole);
            }
        } else if (item.contains(QLatin1String("Poi"))) {
            if (v > 0.0 && v < 1.0) {
                header.HasPoisson = true;
                header.Poisson = v;
            }
        }
    }
    return header;
}

// As SplitFields cuts a line, without a string made per field.
LineFault SplitResultLine(QStringView line, ResultLineParts* parts)
{
    QList<QStringView>& fields = parts->Fields;
    if (!line.contains(QLatin1Char(',')))
        return LineFault::NoComma;
    fields = line.split(QLatin1Char(','));
    if (fields.size() > FileFieldCapacity)
        fields.resize(FileFieldCapacity);
    return ReadResultMoment(fields.at(1), &parts->Day, &parts->Clock) ? LineFault::None
                                                                      : LineFault::BadDate;
}

LineFault ReadResultLine(QStringView line, UiLanguage uiLanguage, ResultLineParts* parts)
{
    if (const LineFault fault = SplitResultLine(line, parts); fault != LineFault::None)
        return fault;
    const QList<QStringView>& fields = parts->Fields;
    ResultEntry& e = parts->Entry;
    e = ResultEntry{};
    e.No = fields.at(0).toString();
    parts->When = WallTime(parts->Day, parts->Clock);
    e.DateTime = FormatDateTimeText(parts->When, uiLanguage);
    e.Answer.fill(-1.0);
    e.Answer[1] = FieldValue(fields, 2);
    e.Answer[2] = FieldValue(fields, 3);
    e.K = FieldValue(fields, 4);
    e.E = FieldValue(fields, 5);
    for (int ch = FirstExtraChannel; ch <= LoggerSettings::LastChannelNumber; ++ch)
        e.Answer[ch] = FieldValue(fields, DisplacementColumn + ch - FirstExtraChannel);
    return LineFault::None;
}

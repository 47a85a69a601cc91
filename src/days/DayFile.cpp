#include "DayFile.h"

#include "record/ResultComputation.h"
#include "record/ResultsLine.h"
#include "shell/Formatting.h"
#include "shell/InputFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>

namespace
{

const QString Comma = QStringLiteral(",");
constexpr int FirstDisplacementField = 6; // field 7 holds D1 (CH3)
constexpr int CalcTypeField = ResultLineFields - 1;

Bilingual Text(const char* ja, const char* en)
{
    return Bilingual{QString::fromUtf8(ja), QString::fromUtf8(en)};
}

Bilingual Refusal(const char* ja, const char* en, const QString& detail = QString())
{
    Bilingual b = Text(ja, en);
    b.Ja = b.Ja.arg(detail);
    b.En = b.En.arg(detail);
    return b;
}

int HeadingLanguageOf(QStringView line2)
{
    if (line2.contains(QString::fromUtf8("荷重")))
        return 0;
    if (line2.startsWith(QLatin1String("No,Date Time,Load")))
        return 1;
    return -1;
}

// Only the Japanese heading is not ASCII; a year of data lines is read much faster when
// the CP932 decoder sees the heading alone.
QString DayFileText(const QByteArray& bytes)
{
    int headingEnd = 0;
    for (int line = 0; line < 2 && headingEnd >= 0; ++line)
        headingEnd = bytes.indexOf('\n', headingEnd + (line > 0 ? 1 : 0));
    if (headingEnd < 0)
        return DecodeFileText(bytes);
    const QByteArrayView data = QByteArrayView(bytes).sliced(headingEnd + 1);
    for (char c : data) {
        if (c & 0x80)
            return DecodeFileText(bytes);
    }
    return DecodeFileText(bytes.left(headingEnd + 1)) + QString::fromLatin1(data);
}

// The two types every good row has share their strings.
QString CalcTypeText(QStringView field)
{
    static const QString Bu = QStringLiteral("BU");
    static const QString Bo = QStringLiteral("BO");
    return field == Bu ? Bu : field == Bo ? Bo : field.toString();
}

bool IsControl(uint c)
{
    return c < 0x20 && c != '\t' && c != '\r' && c != '\n';
}

// A picture or a disk image rather than a day: more than a quarter of its bytes are ones no
// day file holds (control bytes, and bytes above 0x7f past the two heading lines, only
// the Japanese one of which is not ASCII). NUL is not counted: runs of it are what a power
// cut or a stick pulled out leaves in a day that was being written, and that day is read.
bool IsMostlyBinary(const QByteArray& bytes)
{
    const qsizetype line2 = bytes.indexOf('\n');
    const qsizetype headingEnd = line2 < 0 ? bytes.size() : bytes.indexOf('\n', line2 + 1);
    qsizetype counted = 0;
    qsizetype odd = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = uchar(bytes[i]);
        if (c == 0)
            continue;
        ++counted;
        odd += IsControl(c) || (c > 0x7f && headingEnd >= 0 && i > headingEnd);
    }
    return odd * 4 > counted;
}

// A value as the program writes it: an optional minus, at most ten digits, and a fraction.
// Ten digits hold every load, displacement, K and E many times over; a longer number, an
// exponent, "inf" or a quote is damage or another program's hand, and could overflow a mean.
bool IsWrittenNumber(QStringView field)
{
    const QStringView t = field.trimmed();
    qsizetype i = t.startsWith(QLatin1Char('-')) ? 1 : 0;
    const qsizetype digitsStart = i;
    while (i < t.size() && t[i].isDigit() && t[i].unicode() < 0x80)
        ++i;
    const qsizetype whole = i - digitsStart;
    if (whole < 1 || whole > 10)
        return false;
    if (i == t.size())
        return true;
    if (t[i] != QLatin1Char('.') || i + 1 == t.size())
        return false;
    for (++i; i < t.size(); ++i) {
        if (!t[i].isDigit() || t[i].unicode() >= 0x80)
            return false;
    }
    return true;
}

// The first value field of a result line that is not a number the program writes: K and E
// are never negative but for -1, "could not be computed". Further displacements may be
// empty (a channel the logger did not have).
std::optional<Bilingual> BadValue(const QList<QStringView>& fields)
{
    static const char* const Names[] = {"P0", "D0", "K-NWR", "E-NWR", "D1", "D2", "D3", "D4"};
    constexpr int FirstValueField = 2;
    for (int n = 0; n < 8; ++n) {
        const QStringView field = fields.at(FirstValueField + n);
        const bool optional = n >= 4;
        if (optional && field.trimmed().isEmpty())
            continue;
        bool ok = IsWrittenNumber(field);
        const bool kOrE = n == 2 || n == 3;
        if (ok && kOrE && field.trimmed().startsWith(QLatin1Char('-')))
            ok = field.trimmed().toDouble() == -1.0;
        if (ok)
            continue;
        const QString name = QString::fromLatin1(Names[n]);
        const QString shown = Clipped(field.toString());
        return Bilingual{
            QString::fromUtf8("%1 の値 \"%2\" はこのプログラムが書く数値ではありません")
                .arg(name, shown),
            QStringLiteral("%1 \"%2\" is not a number as the program writes it").arg(name, shown)};
    }
    return std::nullopt;
}

// What the decoder puts where bytes are no CP932 text: the file was saved in another
// encoding (UTF-8 by a text editor, most often), which is not damage by NULs.
constexpr char16_t Substitute = 0x1a;

std::optional<Bilingual> DamageOf(QStringView line)
{
    bool control = false;
    for (const QChar c : line) {
        if (c.unicode() == Substitute || c == QChar::ReplacementCharacter)
            return Text("CP932 (Shift_JIS) の文字として読めないバイトがあります",
                        "it holds bytes that are not CP932 (Shift_JIS) text; was the file "
                        "saved in another encoding?");
        control = control || IsControl(c.unicode());
    }
    if (control)
        return Text("壊れています (NUL などの制御文字を含みます)",
                    "damaged: it holds NUL or control bytes");
    return std::nullopt;
}

} // namespace

bool IsDefinedValue(bool kOrE, double value)
{
    return kOrE ? value >= 0.0 : value > 0.0;
}

QString ShownValue(double value, const QString& format, bool kOrE)
{
    if (kOrE)
        return value < 0.0 ? QStringLiteral(" Calc Error") : FormatNumber(value, format);
    return FormatPositive(value, format);
}

DayFile ReadDayFile(const QString& path, UiLanguage uiLanguage, RowDetail detail)
{
    return DayOfInput(path, ReadInputFile(path, DayFileLimit()), uiLanguage, detail);
}

DayFile DayOfInput(const QString& path, const InputRead& read, UiLanguage uiLanguage,
                   RowDetail detail)
{
    if (read.Ok())
        return ParseDayText(path, read.Bytes, uiLanguage, detail);
    DayFile day;
    day.Path = path;
    day.Date =
        DateOfDayFileName(QFileInfo(path).fileName()); // a day refused unread keeps its place
    day.Problem = read.Reason;
    return day;
}

DayFile ParseDayText(const QString& path, const QByteArray& bytes, UiLanguage uiLanguage,
                     RowDetail detail)
{
    DayFile day;
    day.Path = path;
    day.Date = DateOfDayFileName(QFileInfo(path).fileName());
    if (bytes.trimmed().isEmpty()) {
        day.Problem = Text("空のファイルです。", "is empty.");
        return day;
    }
    // The lines are views into the text: a year of files is read without a string made per
    // line or per field.
    const QString text = DayFileText(bytes);
    const QList<QStringView> lines = FileLines(text);
    QStringList items;
    const bool heading =
        SplitFields(lines.at(0).toString(), Comma, items, FileFieldCapacity) >= 0 &&
        lines.at(0).contains(QLatin1String("Dia"));
    if (IsMostlyBinary(bytes) || (!heading && bytes.contains('\0'))) {
        day.Problem = Text("バイナリデータで、結果ファイルではありません。",
                           "holds binary data; it is not a results file.");
        return day;
    }
    if (!heading) {
        day.Problem = Text("1 行目が \"Dia=...,Poi=...\" ではなく、結果ファイルではありません。",
                           "has no \"Dia=...,Poi=...\" in line 1; it is not a results file.");
        return day;
    }
    day.Header = ParseFileHeader(items);
    if (lines.size() > 1) {
        day.HeadingLanguage = HeadingLanguageOf(lines.at(1));
        QStringList heading;
        SplitFields(lines.at(1).toString(), Comma, heading, FileFieldCapacity);
        for (int ch = 3; ch <= 6; ++ch) {
            const int field = FirstDisplacementField + ch - 3;
            day.HasAnswer[ch] = field < heading.size() && !heading.at(field).trimmed().isEmpty();
        }
    }
    day.Rows.reserve(lines.size());
    ResultLineParts parts;
    for (int i = 2; i < lines.size(); ++i) {
        const QStringView line = lines.at(i);
        if (line.trimmed().isEmpty())
            continue;
        ReviewRow row;
        row.LineNumber = i + 1;
        if (const std::optional<Bilingual> damage = DamageOf(line)) {
            day.Skipped.push_back({row.LineNumber, *damage});
            continue;
        }
        const LineFault fault = detail == RowDetail::Full ? ReadResultLine(line, uiLanguage, &parts)
                                                          : SplitResultLine(line, &parts);
        if (fault != LineFault::None) {
            day.Skipped.push_back(
                {row.LineNumber,
                 fault == LineFault::NoComma
                     ? Text("\",\" がありません", "no \",\" in the line")
                     : Text("日時が読めません", "the date and time cannot be read")});
            continue;
        }
        const QList<QStringView>& fields = parts.Fields;
        if (fields.size() != ResultLineFields) {
            // Every line the program writes has twelve fields: fewer is a line cut short.
            const QString n = QString::number(fields.size());
            day.Skipped.push_back(
                {row.LineNumber,
                 fields.size() < ResultLineFields
                     ? Refusal("項目が %1 個です (12 個のはず)。途中で切れた行です",
                               "%1 fields instead of 12: the line was cut short", n)
                     : Refusal("項目が %1 個です (12 個のはず)", "%1 fields instead of 12", n)});
            continue;
        }
        row.CalcType = CalcTypeText(fields.at(CalcTypeField).trimmed());
        if (row.CalcType != QLatin1String("BU") && row.CalcType != QLatin1String("BO")) {
            day.Skipped.push_back(
                {row.LineNumber,
                 Refusal("計算方法 \"%1\" が BU でも BO でもありません",
                         "calculation type \"%1\" is neither BU nor BO", Clipped(row.CalcType))});
            continue;
        }
        if (const std::optional<Bilingual> bad = BadValue(fields)) {
            day.Skipped.push_back({row.LineNumber, *bad});
            continue;
        }
        row.Entry = parts.Entry;
        row.When = parts.When; // left invalid when the rows only count
        if (!day.Date.isValid())
            day.Date = parts.Day; // a file not named as a day takes its first result's day
        for (int ch = 3; ch <= 6; ++ch)
            day.HasAnswer[ch] = day.HasAnswer[ch] ||
                                !fields.at(FirstDisplacementField + ch - 3).trimmed().isEmpty();
        day.Rows.push_back(row);
    }
    return day;
}

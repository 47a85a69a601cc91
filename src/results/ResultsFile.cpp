#include "ResultsFile.h"

#include "DurableAppend.h"
#include "ResultComputation.h"
#include "ResultsContext.h"

#include "logger/LoggerCommands.h"
#include "logger/LoggerSettings.h"
#include "shell/FileLookup.h"
#include "shell/Formatting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <deque>
#include <functional>

namespace
{

const QString LineEnd = QStringLiteral("\r\n");
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

UiMessage CannotOpenMessage(const QString& path)
{
    // The same text in both languages, as the operators have always been shown it.
    const QString text = QString::fromUtf8("ファイル ") + QDir::toNativeSeparators(path) +
                         QString::fromUtf8(" を開けません!!") + LineEnd +
                         QString::fromUtf8("ファイルを閉じて、[再試行]キーを押してください。");
    return UiMessage{Both(QString()), Both(text), MessageButtons::RetryCancel, MessageIcon::None};
}

UiMessage CannotEncodeMessage(const QString& path, const QByteArray& encoding)
{
    const QString name = QDir::toNativeSeparators(path);
    const QString codec = QString::fromLatin1(encoding);
    return UiMessage{
        {QString::fromUtf8("ファイル書き込みエラー"), QStringLiteral("File Write Error")},
        {QString::fromUtf8("ファイル ") + name + QString::fromUtf8(" に書き込めません。") +
             LineEnd + QString::fromUtf8("文字コード ") + codec +
             QString::fromUtf8(" で書けない文字があります。結果は画面に残っています。"),
         QStringLiteral("Cannot write the file ") + name + QLatin1Char('.') + LineEnd +
             QStringLiteral("Some characters cannot be written in the encoding ") + codec +
             QStringLiteral(". The result stays on the screen.")},
        MessageButtons::Ok,
        MessageIcon::Exclamation};
}

UiMessage FormatErrorMessage(const QString& path)
{
    const QString name = QDir::toNativeSeparators(path);
    return UiMessage{
        {QString::fromUtf8("フォーマットエラー"), QStringLiteral("File Format ERROR!")},
        {QString::fromUtf8("指定したファイル ") + name +
             QString::fromUtf8(" のフォーマットが間違っています"),
         QStringLiteral("Specified File ") + name + QStringLiteral(" is igbored file format.")},
        MessageButtons::Ok,
        MessageIcon::None};
}

// `bytes` from one encoding to another with glibc's iconv; nothing when iconv knows either
// not, or a character has no place in `to`.
std::optional<QByteArray> ConvertWithIconv(const QByteArray& bytes, const char* from,
                                           const char* to)
{
    const iconv_t cd = iconv_open(to, from);
    if (reinterpret_cast<std::uintptr_t>(cd) == std::uintptr_t(-1)) // iconv's (iconv_t) -1
        return std::nullopt;
    QByteArray in = bytes;
    QByteArray out(4 * in.size() + 4, '\0'); // UTF-8 takes at most 4 bytes a character
    char* inAt = in.data();
    char* outAt = out.data();
    size_t inLeft = size_t(in.size());
    size_t outLeft = size_t(out.size());
    const size_t irreversible = iconv(cd, &inAt, &inLeft, &outAt, &outLeft);
    iconv_close(cd);
    if (irreversible != 0 || inLeft != 0)
        return std::nullopt;
    out.truncate(out.size() - qsizetype(outLeft));
    return out;
}

// A value field of a data line: a number, or -1 for anything else.
double FieldValue(const QList<QStringView>& fields, int index)
{
    double v = -1.0;
    if (index < fields.size() && ParseNumber(fields.at(index), &v))
        return v;
    return -1.0;
}

} // namespace

InputLimit DayFileLimit()
{
    return {LargestDayFileBytes,
            {QString::fromUtf8("1 日の結果ファイル"), QStringLiteral("a day's results file")}};
}

QString ResultsFolder(const ResultsContext& context)
{
    if (!context.G.DataFolder.trimmed().isEmpty())
        return context.G.DataFolder.trimmed();
    return FindIgnoringCase(context.UserFolder, QStringLiteral("data")) + QLatin1Char('/');
}

QString DailyFilePath(const QString& dataFolder, const QDate& date)
{
    return FindIgnoringCase(dataFolder,
                            date.toString(QStringLiteral("yyyyMMdd")) + QStringLiteral(".csv"));
}

QString FileHeaderLine1(const LoggerSettings& settings)
{
    return QStringLiteral("Dia=") + FormatNumber(settings.PlateDiameter, QStringLiteral("0")) +
           QStringLiteral(",Poi=") + FormatNumber(settings.PoissonRatio, QStringLiteral("0.000"));
}

QString FileHeaderLine2(const LoggerSettings& settings, int16_t uiLanguage)
{
    const bool japanese = uiLanguage == 0;
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

std::optional<QByteArray> EncodeFileText(const QString& text, const QByteArray& encoding,
                                         FileEncoder encoder)
{
    if (encoder == FileEncoder::Qt) {
        QStringEncoder qt(encoding.constData());
        if (qt.isValid()) {
            QByteArray bytes = qt.encode(text);
            return qt.hasError() ? std::nullopt : std::optional<QByteArray>(bytes);
        }
    }
    const QByteArray utf8 = text.toUtf8();
    if (const std::optional<QByteArray> bytes =
            ConvertWithIconv(utf8, "UTF-8", encoding.constData())) {
        // glibc writes a few characters as look-alikes (the yen sign as a backslash): what
        // does not read back as it was is not held, just as Qt's encoder refuses it.
        const std::optional<QByteArray> back =
            ConvertWithIconv(*bytes, encoding.constData(), "UTF-8");
        return back == utf8 ? bytes : std::nullopt;
    }
    // ASCII is the same in every encoding the files were ever read with.
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    return ascii ? std::optional<QByteArray>(text.toLatin1()) : std::nullopt;
}

QString DecodeFileText(const QByteArray& bytes)
{
    QStringDecoder decoder("CP932");
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

AppendOutcome AppendResult(ResultsContext& context, const ResultEntry& entry)
{
    const QString path = DailyFilePath(ResultsFolder(context), context.Time->Now().date());
    DurableAppend file;
    auto retried = [&](const std::function<bool()>& step) {
        while (!step()) {
            if (context.Messages->Show(CannotOpenMessage(path)) != MessageAnswer::Retry)
                return false;
        }
        return true;
    };
    if (!retried([&] { return file.Open(path); }))
        return AppendOutcome::Cancelled;

    QString text;
    if (file.WasEmpty())
        text = FileHeaderLine1(context.Logger) + LineEnd +
               FileHeaderLine2(context.Logger, context.G.UiLanguage) + LineEnd;
    else if (file.EndsInsideLine())
        text = LineEnd; // never glue the result onto a line someone left unfinished
    text += ResultLine(entry, context.Logger) + LineEnd;
    const std::optional<QByteArray> encoded = EncodeFileText(text, context.FileEncoding);
    if (!encoded) {
        file.Abandon(); // a file made just now goes again
        context.Messages->Show(CannotEncodeMessage(path, context.FileEncoding));
        return AppendOutcome::Cancelled;
    }
    const QByteArray& bytes = *encoded;

    if (!retried([&] { return file.Write(bytes); }) ||
        !retried([&] { return file.SyncAndClose(); })) {
        file.Abandon();
        return AppendOutcome::Cancelled;
    }
    return AppendOutcome::Written;
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

namespace
{

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

} // namespace

QDateTime ParseResultDateTime(QStringView text)
{
    QDate date;
    QTime time;
    return ReadResultMoment(text, &date, &time) ? QDateTime(date, time) : QDateTime();
}

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

LineFault ReadResultLine(QStringView line, int16_t uiLanguage, ResultLineParts* parts)
{
    if (const LineFault fault = SplitResultLine(line, parts); fault != LineFault::None)
        return fault;
    const QList<QStringView>& fields = parts->Fields;
    ResultEntry& e = parts->Entry;
    e = ResultEntry{};
    e.No = fields.at(0).toString();
    parts->When = QDateTime(parts->Day, parts->Clock);
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

bool ParseResultLine(const QString& line, int16_t uiLanguage, ResultEntry* entry, int* upperIndex)
{
    ResultLineParts parts;
    if (ReadResultLine(line, uiLanguage, &parts) != LineFault::None)
        return false;
    *entry = parts.Entry;
    if (upperIndex)
        *upperIndex = int(parts.Fields.size()) - 1;
    return true;
}

QStringList SplitFileLines(const QString& text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    }
    return lines;
}

int32_t ReadResultsFile(ResultsContext& context, const QString& path, int32_t* displayColumns)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray bytes = file.readAll();
    file.close();
    if (bytes.isEmpty())
        return 0; // a file made but never written: no results yet

    const QStringList lines = SplitFileLines(DecodeFileText(bytes));
    QStringList items;
    if (SplitFields(lines.at(0), Comma, items, FileFieldCapacity) < 0) {
        context.Messages->Show(FormatErrorMessage(path));
        return -1;
    }
    const FileHeader header = ParseFileHeader(items);
    if (header.HasDiameter)
        context.Logger.PlateDiameter = header.Diameter;
    if (header.HasPoisson)
        context.Logger.PoissonRatio = header.Poisson;

    const int32_t keep = KeptResults(context.G.MaxResults);
    std::deque<ResultEntry> latest;
    int32_t columns = displayColumns ? *displayColumns : 2;
    for (int i = 2; i < lines.size(); ++i) {
        ResultEntry entry;
        int upper = 0;
        if (!ParseResultLine(lines.at(i), context.G.UiLanguage, &entry, &upper))
            continue; // a line that is not a result is skipped, the rest still counts
        latest.push_back(entry);
        if (int32_t(latest.size()) > keep)
            latest.pop_front();
        if (upper > 5)
            columns = std::max(columns, upper - 3);
    }
    for (size_t i = 0; i < latest.size(); ++i)
        context.Results.Entries[i] = latest[i];
    if (displayColumns)
        *displayColumns = columns;
    return static_cast<int32_t>(latest.size());
}

int32_t LoadTodaysResults(ResultsContext& context, int32_t* displayColumns)
{
    context.DailyFile = DailyFilePath(ResultsFolder(context), context.Time->Now().date());
    context.Results.ResultCount = 0;
    if (!QFileInfo(context.DailyFile).isFile())
        return 0;
    const int32_t count = ReadResultsFile(context, context.DailyFile, displayColumns);
    if (count > 0)
        context.Results.ResultCount = count;
    return context.Results.ResultCount;
}

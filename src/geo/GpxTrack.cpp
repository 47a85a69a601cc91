#include "GpxTrack.h"

#include <QDate>
#include <QDir>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>

namespace
{

constexpr qint64 LargestTrackBytes = 64 * 1024 * 1024;

// The number of `digits` digits at `at`, or -1.
int Digits(QStringView text, qsizetype at, int digits)
{
    if (at + digits > text.size())
        return -1;
    int n = 0;
    for (qsizetype i = at; i < at + digits; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        n = n * 10 + (c - u'0');
    }
    return n;
}

bool Is(QStringView text, qsizetype at, char16_t c)
{
    return at < text.size() && text[at].unicode() == c;
}

// The fraction of a second after the point at `*at`, in ms (the rest of its digits cut).
int Fraction(QStringView text, qsizetype* at)
{
    int ms = 0;
    int scale = 100;
    qsizetype i = *at + 1;
    for (; i < text.size() && text[i].isDigit() && text[i].unicode() < 0x80; ++i, scale /= 10)
        ms += scale * (text[i].unicode() - u'0');
    if (i == *at + 1)
        return -1;
    *at = i;
    return ms;
}

// Minutes east of UTC of "Z", "+09:00", "-0330" or nothing; none for anything else.
std::optional<int> Zone(QStringView zone)
{
    if (zone.isEmpty() || zone == QLatin1String("Z"))
        return 0;
    const int sign = zone[0] == QLatin1Char('+') ? 1 : zone[0] == QLatin1Char('-') ? -1 : 0;
    const bool colon = zone.size() == 6 && Is(zone, 3, u':');
    if (sign == 0 || (zone.size() != 5 && !colon))
        return std::nullopt;
    const int hours = Digits(zone, 1, 2), minutes = Digits(zone, colon ? 4 : 3, 2);
    if (hours < 0 || minutes < 0 || hours > 23 || minutes > 59)
        return std::nullopt;
    return sign * (hours * 60 + minutes);
}

Bilingual Refusal(const QString& path, const Bilingual& why)
{
    const QString name = QDir::toNativeSeparators(path);
    return {QString::fromUtf8("トラックファイル %1: %2").arg(name, why.Ja),
            QStringLiteral("track file %1 %2").arg(name, why.En)};
}

double Coordinate(const QXmlStreamAttributes& attributes, QLatin1String name, bool* ok)
{
    const QStringView text = attributes.value(name);
    bool read = false;
    const double value = text.trimmed().toDouble(&read);
    *ok = *ok && read;
    return value;
}

// Reads the point the reader stands on up to its end: its place and time, or what it lacks.
void ReadPoint(QXmlStreamReader& xml, TrackFile* file)
{
    bool numbers = true;
    TrackPoint point;
    const QXmlStreamAttributes attributes = xml.attributes();
    point.Where.Latitude = Coordinate(attributes, QLatin1String("lat"), &numbers);
    point.Where.Longitude = Coordinate(attributes, QLatin1String("lon"), &numbers);
    std::optional<qint64> time;
    while (xml.readNextStartElement()) {
        if (xml.name() == QLatin1String("time"))
            time = ReadGpxTime(xml.readElementText(QXmlStreamReader::SkipChildElements).trimmed());
        else
            xml.skipCurrentElement();
    }
    if (xml.hasError())
        return;
    if (!time)
        ++file->WithoutTime;
    else if (!numbers || !IsValidLatLon(point.Where))
        ++file->OutOfRange;
    else {
        point.UtcMs = *time;
        file->Read.Points.push_back(point);
    }
}

} // namespace

InputLimit TrackFileLimit()
{
    return {LargestTrackBytes, Words("トラックファイル", "a track file")};
}

std::optional<qint64> ReadGpxTime(QStringView text)
{
    const int year = Digits(text, 0, 4), month = Digits(text, 5, 2), day = Digits(text, 8, 2);
    const int hour = Digits(text, 11, 2), minute = Digits(text, 14, 2);
    const int second = Digits(text, 17, 2);
    const bool shaped = Is(text, 4, u'-') && Is(text, 7, u'-') && Is(text, 10, u'T') &&
                        Is(text, 13, u':') && Is(text, 16, u':');
    const QDate date(year, month, day);
    if (!shaped || std::min({year, month, day, hour, minute, second}) < 0 || !date.isValid() ||
        hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    qsizetype at = 19;
    int ms = 0;
    if (Is(text, at, u'.') && (ms = Fraction(text, &at)) < 0)
        return std::nullopt;
    const std::optional<int> zone = Zone(text.sliced(at));
    if (!zone)
        return std::nullopt;
    return WallMs(date, ((hour * 60 + minute - *zone) * 60 + second) * qint64(1000) + ms);
}

TrackFile ParseGpx(const QString& path, const QByteArray& bytes)
{
    TrackFile file;
    file.Path = path;
    QXmlStreamReader xml(bytes);
    // GPX declares no document type; one that does could define entities that a small file
    // expands into gigabytes, so it is refused before anything in it is read.
    while (!xml.atEnd() && xml.readNext() != QXmlStreamReader::StartElement) {
        if (xml.tokenType() == QXmlStreamReader::DTD) {
            file.Problem = Refusal(path, Words("GPX ファイルではありません (GPX にない文書型宣言 "
                                               "<!DOCTYPE> があります)。",
                                               "is no GPX file: it declares a document type "
                                               "(<!DOCTYPE>), which GPX never does."));
            return file;
        }
    }
    if (xml.isStartElement() && xml.name() != QLatin1String("gpx")) {
        file.Problem = Refusal(path, Words("GPX ファイルではありません (最上位の要素が <gpx> "
                                           "ではありません)。",
                                           "is no GPX file: its top element is not <gpx>."));
        return file;
    }
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() &&
            (xml.name() == QLatin1String("trkpt") || xml.name() == QLatin1String("rtept")))
            ReadPoint(xml, &file);
    }
    if (xml.hasError()) {
        const QString line = QString::number(xml.lineNumber());
        const Bilingual why = Words("%1 行目で XML として正しくありません (%2)。",
                                    "is not well-formed XML at line %1 (%2).");
        file.Problem = Refusal(
            path, {why.Ja.arg(line, xml.errorString()), why.En.arg(line, xml.errorString())});
    } else if (file.Read.Points.empty()) {
        file.Problem = Refusal(
            path, Words("時刻のある点がひとつもありません。", "holds no track point with a time."));
    }
    if (file.Refused())
        file.Read.Points.clear();
    return file;
}

TrackFile ReadTrackFile(const QString& path)
{
    return TrackOfInput(path, ReadInputFile(path, TrackFileLimit()));
}

TrackFile TrackOfInput(const QString& path, const InputRead& read)
{
    if (read.Ok())
        return ParseGpx(path, read.Bytes);
    TrackFile file;
    file.Path = path;
    file.Problem = Refusal(path, read.Reason);
    return file;
}

Bilingual LeftOutNote(const TrackFile& file)
{
    if (file.WithoutTime == 0 && file.OutOfRange == 0)
        return {};
    const QString name = QDir::toNativeSeparators(file.Path);
    const QString untimed = QString::number(file.WithoutTime);
    const QString outside = QString::number(file.OutOfRange);
    Bilingual said{QString::fromUtf8("トラックファイル %1: ").arg(name),
                   QStringLiteral("track file %1: ").arg(name)};
    if (file.WithoutTime > 0) {
        said.Ja += QString::fromUtf8("時刻のない %1 点").arg(untimed);
        said.En += (file.WithoutTime == 1 ? QStringLiteral("%1 track point without a time")
                                          : QStringLiteral("%1 track points without a time"))
                       .arg(untimed);
    }
    if (file.WithoutTime > 0 && file.OutOfRange > 0) {
        said.Ja += QString::fromUtf8("と");
        said.En += QStringLiteral(" and ");
    }
    if (file.OutOfRange > 0) {
        said.Ja += QString::fromUtf8("位置が範囲外の %1 点").arg(outside);
        said.En += (file.WithoutTime > 0   ? QStringLiteral("%1 out of range")
                    : file.OutOfRange == 1 ? QStringLiteral("%1 track point out of range")
                                           : QStringLiteral("%1 track points out of range"))
                       .arg(outside);
    }
    said.Ja += QString::fromUtf8("を除きました");
    said.En += QStringLiteral(" left out");
    return said;
}

Track MergeTracks(const std::vector<Track>& tracks)
{
    Track merged;
    size_t total = 0;
    for (const Track& t : tracks)
        total += t.Points.size();
    merged.Points.reserve(total);
    for (const Track& t : tracks)
        merged.Points.insert(merged.Points.end(), t.Points.begin(), t.Points.end());
    std::stable_sort(merged.Points.begin(), merged.Points.end(),
                     [](const TrackPoint& a, const TrackPoint& b) { return a.UtcMs < b.UtcMs; });
    return merged;
}

#include "LandXmlAlignment.h"

#include <QDir>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>
#include <optional>

namespace
{

constexpr qint64 LargestAlignmentBytes = 50 * 1024 * 1024;
// How far a written End may lie from where its Start and parameters lead, in metres.
constexpr double EndTolerance = 0.001;
// A file of more elements than this is no road's design; it is refused before it fills
// memory with clothoids.
constexpr int MostElements = 100000;

// What is wrong with the file follows its name: a phrase ("is not well-formed XML") or,
// after a colon, a sentence of its own about one alignment or element (Clause).
Bilingual Refusal(const QString& path, const Bilingual& why)
{
    const QString name = QDir::toNativeSeparators(path);
    const bool sentence = why.En.startsWith(QLatin1Char(':'));
    const bool particle = !why.Ja.isEmpty() && QString::fromUtf8("はにの").contains(why.Ja[0]);
    const char* ja = sentence   ? "線形ファイル %1%2"
                     : particle ? "線形ファイル %1 %2"
                                : "線形ファイル %1: %2";
    return {QString::fromUtf8(ja).arg(name, why.Ja),
            QString::fromLatin1(sentence ? "alignment file %1%2" : "alignment file %1 %2")
                .arg(name, why.En)};
}

Bilingual Clause(const Bilingual& sentence)
{
    return {QStringLiteral(": ") + sentence.Ja, QStringLiteral(": ") + sentence.En};
}

Bilingual Both2(const Bilingual& text, const QString& a, const QString& b)
{
    return {text.Ja.arg(a, b), text.En.arg(a, b)};
}

QString Metres(double m)
{
    return QString::number(m, 'f', 3);
}

double Distance(PlanePoint a, PlanePoint b)
{
    return std::hypot(a.North - b.North, a.East - b.East);
}

// "northing easting" (a height after them is allowed and ignored).
std::optional<PlanePoint> PointOfText(const QString& text)
{
    const QStringList parts = text.simplified().split(QLatin1Char(' '));
    if (parts.size() < 2 || parts.size() > 3)
        return std::nullopt;
    bool northOk = false, eastOk = false;
    const PlanePoint p{parts[0].toDouble(&northOk), parts[1].toDouble(&eastOk)};
    if (!northOk || !eastOk || !std::isfinite(p.North) || !std::isfinite(p.East))
        return std::nullopt;
    return p;
}

// One element of the chain as written, before it is checked.
struct Written {
    QString Kind;
    QXmlStreamAttributes Attributes;
    std::optional<PlanePoint> Start, End, Center, Pi;
    QStringList Unreadable; // its points that are no "northing easting"
};

class Reader
{
public:
    Reader(const QByteArray& bytes, const QString& wanted) : xml(bytes), wanted(wanted) {}

    void Read();

    QXmlStreamReader xml;
    QString wanted;
    QStringList names;
    std::optional<Alignment> chosen;
    QString epsg;
    Bilingual problem;
    int elementCount = 0;

private:
    bool Fail(const Bilingual& why)
    {
        if (problem.En.isEmpty())
            problem = why;
        return false;
    }
    bool FailElement(int index, const QString& kind, const Bilingual& why)
    {
        const Bilingual where = Words("線形 %1 の要素 %2 (%3)", "alignment %1, element %2 (%3) ");
        return Fail(Clause({where.Ja.arg(current.Name).arg(index).arg(kind) + why.Ja,
                            where.En.arg(current.Name).arg(index).arg(kind) + why.En}));
    }
    bool Number(const Written& w, int index, QLatin1String name, double* value, bool infinite);
    bool Rotation(const Written& w, int index, double* sign);
    bool CheckEnd(const Written& w, int index, const AlignmentElement& e);
    bool Element(const Written& w, int index);
    bool LineOf(const Written& w, int index);
    bool ArcOf(const Written& w, int index);
    bool SpiralOf(const Written& w, int index);
    bool Equation();
    bool CoordGeom();
    void Units();
    void ReadAlignment();
    Written ReadWritten();

    Alignment current;
    std::vector<StationEquation> equations;
};

Written Reader::ReadWritten()
{
    Written w;
    w.Kind = xml.name().toString();
    w.Attributes = xml.attributes();
    while (xml.readNextStartElement()) {
        const QString name = xml.name().toString();
        std::optional<PlanePoint>* slot = name == QLatin1String("Start")    ? &w.Start
                                          : name == QLatin1String("End")    ? &w.End
                                          : name == QLatin1String("Center") ? &w.Center
                                          : name == QLatin1String("PI")     ? &w.Pi
                                                                            : nullptr;
        if (!slot) {
            xml.skipCurrentElement();
            continue;
        }
        *slot = PointOfText(xml.readElementText(QXmlStreamReader::SkipChildElements));
        if (!*slot)
            w.Unreadable << name;
    }
    return w;
}

bool Reader::Number(const Written& w, int index, QLatin1String name, double* value, bool infinite)
{
    const QString text = w.Attributes.value(name).trimmed().toString();
    if (infinite && text.compare(QLatin1String("INF"), Qt::CaseInsensitive) == 0) {
        *value = INFINITY;
        return true;
    }
    bool ok = false;
    *value = text.toDouble(&ok);
    if (!ok || !std::isfinite(*value))
        return FailElement(
            index, w.Kind,
            Words("の %1 が数ではありません (\"%2\")。", "has no number as %1 (\"%2\").")
                .Arg(QString(name))
                .Arg(text));
    if (*value <= 0.0)
        return FailElement(index, w.Kind,
                           Words("の %1 が 0 以下です (%2)。", "has a %1 of zero or less (%2).")
                               .Arg(QString(name))
                               .Arg(text));
    return true;
}

bool Reader::Rotation(const Written& w, int index, double* sign)
{
    const QStringView rot = w.Attributes.value(QLatin1String("rot"));
    if (rot == QLatin1String("ccw") || rot == QLatin1String("cw")) {
        *sign = rot == QLatin1String("ccw") ? 1.0 : -1.0;
        return true;
    }
    return FailElement(
        index, w.Kind,
        Words("の rot が cw でも ccw でもありません。", "has a rot neither cw nor ccw."));
}

bool Reader::CheckEnd(const Written& w, int index, const AlignmentElement& e)
{
    const double off = Distance(e.At(e.Length), *w.End);
    if (off <= EndTolerance) {
        current.Elements.push_back(e);
        return true;
    }
    return FailElement(index, w.Kind,
                       Words("の End が、Start と諸元から求まる終点と %1 m 離れています。",
                             "has its End %1 m from where its Start and parameters lead.")
                           .Arg(Metres(off)));
}

bool Reader::LineOf(const Written& w, int index)
{
    const AlignmentElement e = LineElement(*w.Start, *w.End);
    double length = e.Length;
    if (w.Attributes.hasAttribute(QLatin1String("length")) &&
        !Number(w, index, QLatin1String("length"), &length, false))
        return false;
    if (e.Length <= 0.0)
        return FailElement(index, w.Kind, Words("の長さが 0 です。", "has a length of zero."));
    if (std::abs(length - e.Length) > EndTolerance)
        return FailElement(
            index, w.Kind,
            Both2(Words("の length %1 m が Start から End までの %2 m と合いません。",
                        "has a length of %1 m, but Start and End lie %2 m apart."),
                  Metres(length), Metres(e.Length)));
    current.Elements.push_back(e);
    return true;
}

bool Reader::ArcOf(const Written& w, int index)
{
    double sign = 0.0, radius = 0.0;
    if (!w.Center)
        return FailElement(index, w.Kind, Words("に Center がありません。", "has no Center."));
    if (!Rotation(w, index, &sign) || !Number(w, index, QLatin1String("radius"), &radius, false))
        return false;
    const PlanePoint c = *w.Center;
    const double fromCentre = Distance(*w.Start, c);
    if (std::abs(fromCentre - radius) > EndTolerance)
        return FailElement(
            index, w.Kind,
            Both2(Words("の Start が Center から %1 m にあり、半径 %2 m と合いません。",
                        "has its Start %1 m from its Center, not its radius %2 m."),
                  Metres(fromCentre), Metres(radius)));
    const double a0 = std::atan2(w.Start->North - c.North, w.Start->East - c.East);
    const double a1 = std::atan2(w.End->North - c.North, w.End->East - c.East);
    const double sweep = std::remainder(sign * (a1 - a0) - M_PI, 2.0 * M_PI) + M_PI;
    if (sweep * radius <= 0.0)
        return FailElement(index, w.Kind, Words("の長さが 0 です。", "has a length of zero."));
    double length = sweep * radius;
    if (w.Attributes.hasAttribute(QLatin1String("length")) &&
        !Number(w, index, QLatin1String("length"), &length, false))
        return false;
    if (std::abs(length - sweep * radius) > EndTolerance)
        return FailElement(
            index, w.Kind,
            Both2(Words("の length %1 m が Start から End までの弧長 %2 m と合いません。",
                        "has a length of %1 m, but its arc from Start to End is %2 m."),
                  Metres(length), Metres(sweep * radius)));
    return CheckEnd(w, index, ArcElement(*w.Start, a0 + sign * M_PI / 2.0, length, sign / radius));
}

bool Reader::SpiralOf(const Written& w, int index)
{
    const QStringView type = w.Attributes.value(QLatin1String("spiType"));
    if (!type.isEmpty() && type != QLatin1String("clothoid"))
        return FailElement(index, w.Kind,
                           Words("の spiType が \"%1\" です。クロソイドだけを読みます。",
                                 "is a spiral of type \"%1\"; only clothoids are read.")
                               .Arg(type.toString()));
    double sign = 0.0, length = 0.0, r0 = 0.0, r1 = 0.0;
    if (!Rotation(w, index, &sign) || !Number(w, index, QLatin1String("length"), &length, false) ||
        !Number(w, index, QLatin1String("radiusStart"), &r0, true) ||
        !Number(w, index, QLatin1String("radiusEnd"), &r1, true))
        return false;
    const double k0 = sign / r0, k1 = sign / r1;
    if (std::abs(k0 + k1) * length / 2.0 > LargestSpiralTurn)
        return FailElement(
            index, w.Kind,
            Words("が一回転以上曲がっています。", "turns by more than a full circle."));
    double heading = 0.0;
    if (w.Pi && Distance(*w.Pi, *w.Start) > 0.0)
        heading = std::atan2(w.Pi->North - w.Start->North, w.Pi->East - w.Start->East);
    else if (!current.Elements.empty())
        heading = current.Elements.back().HeadingAt(current.Elements.back().Length);
    else
        return FailElement(index, w.Kind,
                           Words("の始点での向きがわかりません (PI がありません)。",
                                 "gives no direction at its start (it has no PI)."));
    return CheckEnd(w, index, SpiralElement(*w.Start, heading, length, k0, k1));
}

bool Reader::Element(const Written& w, int index)
{
    if (!w.Unreadable.isEmpty())
        return FailElement(index, w.Kind,
                           Words("の %1 が「北距 東距」の数ではありません。",
                                 "has a %1 that is no \"northing easting\".")
                               .Arg(w.Unreadable.first()));
    if (!w.Start || !w.End)
        return FailElement(index, w.Kind,
                           Words("に Start または End の座標がありません。",
                                 "lacks the coordinates of its Start or End."));
    if (!current.Elements.empty()) {
        const AlignmentElement& before = current.Elements.back();
        const double gap = Distance(before.At(before.Length), *w.Start);
        if (gap > EndTolerance)
            return FailElement(index, w.Kind,
                               Words("の Start が前の要素の終点から %1 m 離れています。",
                                     "starts %1 m away from where the element before it ends.")
                                   .Arg(Metres(gap)));
    }
    if (w.Kind == QLatin1String("Line"))
        return LineOf(w, index);
    if (w.Kind == QLatin1String("Curve"))
        return ArcOf(w, index);
    return SpiralOf(w, index);
}

bool Reader::CoordGeom()
{
    int index = 0;
    while (xml.readNextStartElement()) {
        const QString kind = xml.name().toString();
        ++index;
        if (kind != QLatin1String("Line") && kind != QLatin1String("Curve") &&
            kind != QLatin1String("Spiral"))
            return FailElement(index, kind,
                               Words("は Line、Curve、Spiral のどれでもなく、読めません。",
                                     "is none of Line, Curve and Spiral and cannot be read."));
        if (++elementCount > MostElements)
            return Fail(Words("要素が %1 を超えています。", "holds more than %1 elements.")
                            .Arg(QString::number(MostElements)));
        if (!Element(ReadWritten(), index))
            return false;
    }
    return true;
}

bool Reader::Equation()
{
    const QXmlStreamAttributes a = xml.attributes();
    xml.skipCurrentElement();
    const auto value = [&a](const char* name) -> std::optional<double> {
        bool ok = false;
        const double v = a.value(QLatin1String(name)).toDouble(&ok);
        return ok && std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
    };
    const std::optional<double> ahead = value("staAhead"), back = value("staBack");
    std::optional<double> internal = value("staInternal");
    if (!ahead || (!internal && !back))
        return Fail(Clause(Words("線形 %1 の StaEquation に staAhead と、staInternal か "
                                 "staBack がありません。",
                                 "alignment %1 has a StaEquation that lacks staAhead, or both "
                                 "staInternal and staBack.")
                               .Arg(current.Name)));
    // Without staInternal the back station, counted as the equations before it count, says
    // where it lies.
    const double shift =
        equations.empty() ? 0.0 : equations.back().Ahead - equations.back().Internal;
    if (!internal)
        internal = *back - shift;
    equations.push_back({*internal, back.value_or(*internal + shift), *ahead});
    return true;
}

void Reader::ReadAlignment()
{
    current = Alignment();
    equations.clear();
    const QXmlStreamAttributes a = xml.attributes();
    current.Name = a.value(QLatin1String("name")).toString();
    names << current.Name;
    bool startOk = true;
    if (a.hasAttribute(QLatin1String("staStart")))
        current.StaStart = a.value(QLatin1String("staStart")).toDouble(&startOk);
    if (!startOk || !std::isfinite(current.StaStart)) {
        Fail(Clause(Words("線形 %1 の staStart が数ではありません。",
                          "alignment %1 has a staStart that is no number.")
                        .Arg(current.Name)));
        return;
    }
    // Without a name asked for, only the first is read: a second makes the file refused.
    const bool taken = wanted.isEmpty() ? names.size() == 1 : wanted == current.Name;
    bool good = true;
    while (good && xml.readNextStartElement()) {
        if (taken && xml.name() == QLatin1String("CoordGeom"))
            good = CoordGeom();
        else if (taken && xml.name() == QLatin1String("StaEquation"))
            good = Equation();
        else
            xml.skipCurrentElement();
    }
    if (!good || !taken || xml.hasError())
        return;
    if (current.Elements.empty()) {
        Fail(Clause(Words("線形 %1 に要素 (CoordGeom) がありません。",
                          "alignment %1 has no elements (CoordGeom).")
                        .Arg(current.Name)));
        return;
    }
    ChainElements(&current.Elements);
    bool lengthOk = false;
    const double length = a.value(QLatin1String("length")).toDouble(&lengthOk);
    if (lengthOk && std::abs(length - current.Length()) > EndTolerance) {
        Fail(Clause(Both2(Words("線形 %1 の length %2 m が要素の長さの和と合いません。",
                                "alignment %1 gives a length of %2 m, which its elements do not "
                                "add up to."),
                          current.Name, Metres(length))));
        return;
    }
    std::stable_sort(
        equations.begin(), equations.end(),
        [](const StationEquation& x, const StationEquation& y) { return x.Internal < y.Internal; });
    current.Equations = equations;
    if (!chosen)
        chosen = current;
}

void Reader::Units()
{
    while (xml.readNextStartElement()) {
        const QString unit = xml.attributes().value(QLatin1String("linearUnit")).toString();
        if (xml.name() != QLatin1String("Metric") || unit != QLatin1String("meter")) {
            Fail(Words("の長さの単位が %1 です。メートル (linearUnit=\"meter\") だけを読みます。",
                       "gives its lengths in %1; only metres (linearUnit=\"meter\") are read.")
                     .Arg(unit.isEmpty() ? xml.name().toString() : unit));
            return;
        }
        xml.skipCurrentElement();
    }
}

void Reader::Read()
{
    // LandXML declares no document type of its own; one that does could define entities
    // that a small file expands into gigabytes, so it is refused before anything is read.
    while (!xml.atEnd() && xml.readNext() != QXmlStreamReader::StartElement) {
        if (xml.tokenType() == QXmlStreamReader::DTD) {
            Fail(Words("は文書型宣言 <!DOCTYPE> を含むため読みません。",
                       "declares a document type (<!DOCTYPE>) and is not read."));
            return;
        }
    }
    if (xml.isStartElement() && xml.name() != QLatin1String("LandXML")) {
        Fail(Words("は LandXML ではありません (最上位の要素が <LandXML> ではありません)。",
                   "is no LandXML: its top element is not <LandXML>."));
        return;
    }
    while (problem.En.isEmpty() && !xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("Units"))
            Units();
        else if (xml.name() == QLatin1String("CoordinateSystem"))
            epsg = xml.attributes().value(QLatin1String("epsgCode")).trimmed().toString();
        else if (xml.name() == QLatin1String("Alignment"))
            ReadAlignment();
    }
}

// Why the alignment asked for (or, without a name, the only one) is not in the file.
Bilingual NoneChosen(const QStringList& names, const QString& wanted)
{
    const QString listed = names.join(QLatin1String(", "));
    if (names.isEmpty())
        return Words("に線形 (<Alignment>) がありません。", "holds no alignment (<Alignment>).");
    if (wanted.isEmpty())
        return Words("に線形が複数あります (%1)。名前で選んでください。",
                     "holds several alignments (%1); choose one by its name.")
            .Arg(listed);
    return Both2(Words("に線形 %1 がありません (あるのは %2)。",
                       "holds no alignment named %1 (it holds %2)."),
                 wanted, listed);
}

} // namespace

InputLimit AlignmentFileLimit()
{
    return {LargestAlignmentBytes, Words("線形ファイル", "an alignment file")};
}

AlignmentFile ParseLandXmlAlignment(const QString& path, const QByteArray& bytes,
                                    const QString& name)
{
    AlignmentFile file;
    file.Path = path;
    Reader reader(bytes, name);
    reader.Read();
    file.Names = reader.names;
    file.EpsgCode = reader.epsg;
    if (reader.xml.hasError()) {
        const QString line = QString::number(reader.xml.lineNumber());
        file.Problem = Refusal(path, Both2(Words("は %1 行目で XML として正しくありません (%2)。",
                                                 "is not well-formed XML at line %1 (%2)."),
                                           line, reader.xml.errorString()));
    } else if (!reader.problem.En.isEmpty()) {
        file.Problem = Refusal(path, reader.problem);
    } else if (!reader.chosen || (name.isEmpty() && reader.names.size() > 1)) {
        file.Problem = Refusal(path, NoneChosen(reader.names, name));
    } else {
        file.Chosen = *reader.chosen;
    }
    return file;
}

AlignmentFile ReadAlignmentFile(const QString& path, const QString& name)
{
    return AlignmentOfInput(path, ReadInputFile(path, AlignmentFileLimit()), name);
}

AlignmentFile AlignmentOfInput(const QString& path, const InputRead& read, const QString& name)
{
    if (read.Ok())
        return ParseLandXmlAlignment(path, read.Bytes, name);
    AlignmentFile file;
    file.Path = path;
    file.Problem = Refusal(path, read.Reason);
    return file;
}

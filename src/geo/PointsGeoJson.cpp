#include "PointsGeoJson.h"

#include "lot/PointsCsv.h"
#include "record/PlaceFormat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

namespace
{

// The mean as every table of the lot writes it, so that the map and the points file agree.
QJsonValue Mean(const QString& text)
{
    return text.isEmpty() ? QJsonValue() : QJsonValue(text.toDouble());
}

QJsonValue Geometry(const PointPlace* place)
{
    if (!place || !place->HasPlace)
        return QJsonValue();
    return QJsonObject{{"type", "Point"},
                       {"coordinates", QJsonArray{DegreesRounded(place->Where.Longitude),
                                                  DegreesRounded(place->Where.Latitude)}}};
}

QJsonObject Properties(int number, const LotPoint& point, const Requirement& need,
                       const PointPlace* place)
{
    const PointValues& v = point.Values;
    const QStringList means = MeanTexts(v);
    const QString verdict = VerdictWord(FileVerdict(point, need));
    QJsonObject o{{"point", number},
                  {"location", point.Location()},
                  {"first_drop", FirstDropText(v)},
                  {"used_drops", v.Used},
                  {"P0", Mean(means[0])},
                  {"D0", Mean(means[1])},
                  {"K", Mean(means[2])},
                  {"E", Mean(means[3])},
                  {"result", verdict.isEmpty() ? QJsonValue() : QJsonValue(verdict)}};
    if (place && place->HasPlace)
        o["spread_m"] = std::round(place->SpreadMetres * 100.0) / 100.0;
    return o;
}

void AddStation(const PointStation& along, QJsonObject* properties)
{
    const bool has = along.HasStation;
    (*properties)["station_m"] = has ? QJsonValue(GridMetresRounded(along.Station)) : QJsonValue();
    (*properties)["offset_m"] = has ? QJsonValue(GridMetresRounded(along.Offset)) : QJsonValue();
    (*properties)["station"] = has ? QJsonValue(along.Text) : QJsonValue();
}

} // namespace

QJsonArray PointFeatures(const std::vector<LotPoint>& points, const Requirement& need,
                         const std::vector<PointPlace>& places, int firstNumber,
                         const std::vector<PointStation>& stations)
{
    QJsonArray features;
    for (size_t i = 0; i < points.size(); ++i) {
        const PointPlace* place = i < places.size() ? &places[i] : nullptr;
        QJsonObject properties = Properties(firstNumber + int(i), points[i], need, place);
        if (!stations.empty())
            AddStation(i < stations.size() ? stations[i] : PointStation{}, &properties);
        features.append(QJsonObject{
            {"type", "Feature"}, {"geometry", Geometry(place)}, {"properties", properties}});
    }
    return features;
}

QByteArray PointsCollection(const QJsonArray& features)
{
    return QJsonDocument(QJsonObject{{"type", "FeatureCollection"}, {"features", features}})
        .toJson(QJsonDocument::Indented);
}

QByteArray PointsGeoJson(const std::vector<LotPoint>& points, const Requirement& need,
                         const std::vector<PointPlace>& places,
                         const std::vector<PointStation>& stations)
{
    return PointsCollection(PointFeatures(points, need, places, 1, stations));
}

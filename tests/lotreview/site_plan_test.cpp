#include "siteplan/SitePlanLayout.h"

#include <QPolygonF>
#include <algorithm>
#include <gtest/gtest.h>

namespace
{

struct Place {
    double East, North;
    bool Placed = true;
};

SitePlanData Plan(const std::vector<Place>& places)
{
    SitePlanData data;
    data.System = Words("局所座標", "local east/north");
    for (const Place& p : places)
        data.Points.push_back(
            {int(data.Points.size()) + 1, "", Verdict::Pass, p.Placed, p.East, p.North, false});
    return data;
}

// Six units a character, as a monospaced face of about that size.
PlanStyle FixedStyle()
{
    return {3.0, 12.0, [](const QString& text) { return 6.0 * double(text.size()); }};
}

std::vector<Place> Crowd(int n)
{
    std::vector<Place> crowd;
    for (int i = 0; i < n; ++i)
        crowd.push_back({0.01 * (i % 20), 0.01 * (i / 20)});
    return crowd;
}

// A wide site whose first twelve points stand in a cluster of 0.3 by 0.1 m.
std::vector<Place> Cluster()
{
    std::vector<Place> places = Crowd(12);
    for (Place& p : places)
        p.East *= 3.0, p.North *= 10.0;
    places.insert(places.end(), {{400, 0}, {400, 100}});
    return places;
}

// The placed points' extent fills the frame at one scale for east and north, north up, a
// single place in a 10 m window; the scale bar is a round length near a fifth of the width;
// numbers stay inside the frame and clear of each other; unplaced points are listed.
TEST(SitePlanLayout, FitsExtentAtOneScaleWithRoundBarAndListsUnplaced)
{
    const struct {
        const char* Case;
        std::vector<Place> Places;
        double FillsAtLeast; // of the frame's width or height, by the extent
        const char* Bar;
        QStringList Unplaced;
        bool EveryNumber = false; // each point's number shown, beside it or at a leader's end
    } rows[] = {
        {"wide site",
         {{0, 0}, {400, 0}, {400, 100}, {0, 0, false}},
         0.8,
         "50 m",
         {"No position:", "4"}},
        {"tall site", {{5, 5}, {15, 305}}, 0.7, "50 m", {}},
        {"single point",
         {{7, 7}, {0, 0, false}, {0, 0, false}},
         0.0,
         "2 m",
         {"No position:", "2, 3"}},
        {"one place for all", {{3, 3}, {3, 3}, {3, 3}}, 0.0, "2 m", {}},
        {"a crowd", Crowd(300), 0.0, "2 m", {}},
        {"a cluster on a wide site", Cluster(), 0.8, "50 m", {}, true},
    };
    const QRectF rect(10, 20, 600, 400); // wide: the legend and the list beside the plan
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        const SitePlanLayout plan =
            LaySitePlan(Plan(row.Places), rect, FixedStyle(), UiLanguage::English);
        ASSERT_FALSE(plan.Empty);
        EXPECT_TRUE(rect.contains(plan.Frame));
        QPolygonF at;
        int numbered = 0;
        for (size_t i = 0; i < plan.Marks.size(); ++i) {
            const PlanMark& m = plan.Marks[i];
            const Place& p = row.Places[size_t(m.Number - 1)];
            const Place& first = row.Places[0];
            EXPECT_NEAR(m.At.x() - plan.Marks[0].At.x(), (p.East - first.East) * plan.UnitsPerMetre,
                        1e-6);
            EXPECT_NEAR(plan.Marks[0].At.y() - m.At.y(),
                        (p.North - first.North) * plan.UnitsPerMetre, 1e-6);
            at << m.At;
            EXPECT_TRUE(plan.Frame.contains(m.Label) || !m.Labelled) << m.Number;
            for (size_t j = 0; j < i && m.Labelled; ++j)
                EXPECT_FALSE(plan.Marks[j].Labelled && plan.Marks[j].Label.intersects(m.Label));
            numbered += m.Labelled ? 1 : 0;
        }
        const QRectF marks = at.boundingRect();
        EXPECT_TRUE(plan.Frame.contains(marks.topLeft()) &&
                    plan.Frame.contains(marks.bottomRight()));
        EXPECT_GE(
            std::max(marks.width() / plan.Frame.width(), marks.height() / plan.Frame.height()),
            row.FillsAtLeast);
        EXPECT_GT(numbered, 0);
        EXPECT_TRUE(!row.EveryNumber || numbered == int(plan.Marks.size())) << numbered;
        const double window =
            std::min(plan.Frame.width(), plan.Frame.height()) / plan.UnitsPerMetre;
        EXPECT_TRUE(row.FillsAtLeast > 0.0 || (window >= 10 && window <= 15)) << window;
        EXPECT_EQ(plan.BarText, row.Bar);
        EXPECT_GT(plan.Bar.length(), plan.Frame.width() / 12);
        EXPECT_LE(plan.Bar.length(), plan.Frame.width() / 4);
        EXPECT_EQ(plan.Unplaced, row.Unplaced);
    }
    EXPECT_TRUE(LaySitePlan(Plan({{0, 0, false}}), rect, FixedStyle(), UiLanguage::English).Empty);
}

// A straight road crossing the points' square diagonally from a kilometre off to a kilometre
// beyond, then turning away outside: the plan stays fitted to the points, the road shows as
// one piece from border to border; the stake within gets a tick across the road and its label
// on the road's right, unless a point or an earlier stake's label is there; the stake outside
// gets nothing; the legend names the road only when it crosses the plan.
TEST(SitePlanLayout, CentrelineClippedToFrameWithStakesAcrossIt)
{
    const std::vector<Place> square{{0, 0}, {40, 0}, {0, 40}, {40, 40}};
    SitePlanData data = Plan(square);
    data.Centreline = {{-1000, -1000}, {1000, 1000}, {2000, 1500}};
    constexpr double Diagonal = 0.70710678118654752;
    data.Stakes = {{{-500, -500}, Diagonal, Diagonal, "No.1"},
                   {{10, 10}, Diagonal, Diagonal, "No.2"},
                   {{10.2, 10.2}, Diagonal, Diagonal, "No.3"}};
    const QRectF rect(10, 20, 600, 400);
    const auto lay = [&](const SitePlanData& d) {
        return LaySitePlan(d, rect, FixedStyle(), UiLanguage::English);
    };
    const auto namesRoad = [](const SitePlanLayout& p) {
        return std::any_of(p.Legend.begin(), p.Legend.end(),
                           [](const PlanLegendEntry& e) { return e.Centreline; });
    };
    const SitePlanLayout plan = lay(data), bare = lay(Plan(square));
    EXPECT_DOUBLE_EQ(plan.UnitsPerMetre, bare.UnitsPerMetre);
    const auto metres = [&](QPointF q) {
        const QPointF first = plan.Marks[0].At;
        return QPointF(q.x() - first.x(), first.y() - q.y()) / plan.UnitsPerMetre;
    };
    const QRectF f = plan.Frame;
    ASSERT_EQ(plan.Centreline.size(), 1u);
    for (const QPointF end : {plan.Centreline[0].p1(), plan.Centreline[0].p2()}) {
        EXPECT_NEAR(metres(end).x(), metres(end).y(), 1e-6);
        EXPECT_TRUE(f.adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(end));
        EXPECT_NEAR(std::min({end.x() - f.left(), f.right() - end.x(), end.y() - f.top(),
                              f.bottom() - end.y()}),
                    0.0, 1e-6);
    }

    ASSERT_EQ(plan.Stakes.size(), 2u);
    const PlanStakeMark& stake = plan.Stakes[0];
    EXPECT_EQ(stake.Label, "No.2");
    EXPECT_NEAR(QPointF::dotProduct(stake.Tick.p2() - stake.Tick.p1(),
                                    plan.Centreline[0].p2() - plan.Centreline[0].p1()),
                0.0, 1e-6);
    EXPECT_NEAR(QLineF(metres(stake.Tick.center()), {10, 10}).length(), 0.0, 1e-6);
    EXPECT_GE(stake.Tick.length(), 4 * FixedStyle().Marker);
    ASSERT_TRUE(stake.Labelled);
    const QPointF right = metres(stake.LabelBox.center()) - QPointF(10, 10); // south-east
    EXPECT_TRUE(right.x() > 0 && right.y() < 0) << right.x() << ", " << right.y();
    EXPECT_FALSE(plan.Stakes[1].Labelled);
    EXPECT_GT(plan.Stakes[1].Tick.length(), 0.0);

    SitePlanData covered = data;
    // Its marker under the label's end, its number clear beyond.
    const QPointF under = metres({stake.LabelBox.right() - 1, stake.LabelBox.center().y()});
    covered.Points.push_back({5, "", Verdict::Pass, true, under.x(), under.y(), false});
    EXPECT_FALSE(lay(covered).Stakes[0].Labelled);

    SitePlanData north = Plan(square), passingBy = Plan(square);
    north.Centreline = {{20, -1000}, {20, 1000}};
    passingBy.Centreline = {{1000, -1000}, {1000, 1000}};
    EXPECT_EQ(lay(north).Centreline.size(), 1u);
    EXPECT_TRUE(lay(passingBy).Centreline.empty());
    EXPECT_TRUE(namesRoad(plan) && namesRoad(lay(north)));
    EXPECT_FALSE(namesRoad(bare) || namesRoad(lay(passingBy)));
}

TEST(SitePlanLayout, ScaleBarIsOneTwoOrFiveTimesAPowerOfTen)
{
    const struct {
        const char* Case;
        double Metres, Bar;
    } rows[] = {
        {"below a metre", 0.3, 0.2}, {"exactly one", 1, 1},    {"up to two", 3.7, 2},
        {"up to five", 7, 5},        {"just below", 19.9, 10}, {"hundreds", 480, 200},
    };
    for (const auto& row : rows)
        EXPECT_DOUBLE_EQ(RoundBarMetres(row.Metres), row.Bar) << row.Case;
}

} // namespace

#include "lot/DropSpread.h"

#include <gtest/gtest.h>

namespace
{

// A point of drops with these K and E (the same unless given) and states.
struct Spread {
    std::vector<LotDrop> Drops;
    LotPoint Point;

    Spread(const std::vector<double>& ks, std::vector<double> es, const std::vector<DropState>& s)
    {
        es.resize(ks.size(), -2.0);
        for (size_t i = 0; i < ks.size(); ++i) {
            LotDrop d;
            d.K = ks[i];
            d.E = es[i] == -2.0 ? ks[i] : es[i];
            Drops.push_back(d);
            Point.Drops.push_back({int(i), i < s.size() ? s[i] : DropState::Used, nullptr});
        }
    }
};

TEST(DropSpread, MarksADropFarFromTheMedianOfTheUsedDrops)
{
    const DropState seating = DropState::Seating, out = DropState::Excluded, used = DropState::Used;
    const struct {
        const char* Case;
        std::vector<double> Ks, Es;
        std::vector<DropState> States;
        std::vector<bool> Far;
    } rows[] = {
        {"steady drops", {100, 104, 98, 101}, {}, {}, {false, false, false, false}},
        {"a moved plate", {100, 102, 60, 101}, {}, {}, {false, false, true, false}},
        {"21 % above is far, 19 % is not",
         {100, 100, 100, 121, 119},
         {},
         {},
         {false, false, false, true, false}},
        {"E alone far", {100, 102, 101, 100}, {50, 51, 52, 80}, {}, {false, false, false, true}},
        {"two drops: no yardstick", {100, 60}, {}, {}, {false, false}},
        {"the odd one of four alone", {270, 342, 152, 342}, {}, {}, {false, false, true, false}},
        {"undefined values never far nor counted", {100, -1, 60}, {}, {}, {false, false, false}},
        {"left-out drops marked, never counted",
         {200, 210, 100, 102, 101, 60},
         {},
         {seating, seating, used, used, used, out},
         {true, true, false, false, false, true}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Case);
        const Spread s(row.Ks, row.Es, row.States);
        EXPECT_EQ(FarDrops(s.Drops, s.Point), row.Far);
    }
}

} // namespace

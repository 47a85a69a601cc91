// The simulated logger without its line: what goes on the wire for a sequence of commands
// and control lines, for the exchanges the program itself never makes (malformed commands,
// values out of range), for each fault the campaigns strike, and for a transcript replayed.
#include "Simulator.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace
{

struct Row {
    // Steps one second apart, '|' between two; a control line starts with '~'.
    const char* Steps;
    std::string Wire; // the last step's reply; <nothing>, <hang-up>, <refused> or <quit>
    const char* Replay = nullptr; // a service transcript to answer from
};

// A poll and two repeats folded after it, then the line lost: three answers, the
// repeats with the reply the fold kept, the hang-up after the last.
const char* const FoldedPolls = R"(T COM1 opened
T message "VX-2968" "the \"logger\" is ready"
T COM1 "MDT" -> "+000001\r\n" status 9, 12 ms
T COM1 "MDT" repeated 2 more times, last -> "+000003\r\n" status 9, 12 ms
T COM1 line lost
)";

void PrintTo(const Row& r, std::ostream* os)
{
    *os << r.Steps;
}

const Row Rows[] = {
    {"res|set1|rng?", "1000\r\n"},
    {"SET3", "ERR-008\r\n"}, // CH3 is not fitted
    {"SET2|SET1|MNO12|MNO?", "12,12\r\n"},
    {"RES|RNG?", "ERR-001\r\n"}, // no channel selected
    {"SET1|RNG2000", "ERR-009\r\n"},
    {"CLK49", "ERR-010\r\n"},
    {"MRY1000|MRY-1000", "ERR-005\r\n"}, // the pre-trigger within the record
    {"HELLO", "ERR-002\r\n"},
    {"EPA61|EPA128|EPA?", "61\r\n"}, // EPA128 refused: the address stays
    {"SET1|~offset 1 -250|MDT", "-000250\r\n"},
    {"SET1|SET2|DTG|~drop|EOC", "800,800\r\n"},
    {"SET1|SET2|DTG|RES|SET1|SET2|~drop|EOC", "0,0\r\n"}, // RES disarms
    {"~fault stuck|SET1|DTG|~drop|EOC", "799\r\n"},
    {"~fault error * 002|~fault error RES 031|RES", "ERR-031\r\n"}, // the later one wins
    {"~fault error MNO5 004|SET1|MNO5|MNO?", "0\r\n"},     // a refused command takes no effect
    {"~fault silent|SET1|~fault none|EOC", "ERR-001\r\n"}, // nothing took effect
    {"~fault nochannel 2|SET2", "ERR-008\r\n"},
    {"~fault hangup-after 2|RES|SET1", "OK\r\n<hang-up>"},
    {"~fault bogus", "<refused>"},
    {"~quit", "<quit>"},
    {"MDT|MDT", "+000003\r\n", FoldedPolls},
    {"MDT|MDT|MDT", "+000003\r\n<hang-up>", FoldedPolls},
};

class Protocol : public testing::TestWithParam<Row>
{
};

TEST_P(Protocol, WhatGoesOnTheWire)
{
    vxsim::SimConfig config;
    config.NoiseCounts = 0.0;
    vxsim::Simulator sim(config);
    if (GetParam().Replay) {
        auto parsed = vxsim::ReplayScript::Parse(GetParam().Replay);
        ASSERT_EQ(parsed.Error, "");
        sim.SetReplay(vxsim::ReplayScript(std::move(parsed.Entries)));
    }
    vxsim::Micros now = 0;
    std::string wire;
    for (const QString& step : QString(GetParam().Steps).split('|')) {
        now += 1000000;
        if (step.startsWith('~')) {
            const auto result = sim.Control(step.mid(1).toStdString(), now);
            wire = result.Quit ? "<quit>" : result.Ok ? "" : "<refused>";
            continue;
        }
        const vxsim::Simulator::Outgoing out = sim.Receive(step.toStdString(), now);
        wire = out.Send ? out.Bytes : "<nothing>";
        if (out.HangUpAfter)
            wire += "<hang-up>";
    }
    EXPECT_EQ(wire, GetParam().Wire) << GetParam().Steps;
}

INSTANTIATE_TEST_SUITE_P(Table, Protocol, testing::ValuesIn(Rows));

} // namespace

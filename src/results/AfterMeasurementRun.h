#pragma once

struct ResultsContext;

// What the measurement screen does with its grid and commands once the run form has
// closed.
struct AfterRun {
    bool RefillGrid = false;
    bool ShowPrint = false;
};

// The continuation of a run on the measurement screen: after a cancel the settings are
// read again; after a transfer the drop becomes the newest result (the oldest beyond
// MaxResults dropped), computed, numbered and stored in today's file, its position (when
// the program keeps positions) appended to the day's positions file, and the logger is
// given the next number. The monitor timer is the screen's.
AfterRun AfterMeasurementRun(ResultsContext& context);

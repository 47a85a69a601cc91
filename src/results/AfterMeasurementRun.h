#pragma once

struct AppContext;

// What the measurement screen does with its grid and commands once the run form has
// closed.
struct AfterRun {
    bool RefillGrid = false;
    bool ShowPrint = false;
};

// The continuation of a run on the measurement screen: after a cancel the settings are
// read again; after a transfer the oldest result beyond MaxResults is dropped and the new
// one computed, numbered and stored in today's file. The monitor timer is the screen's.
AfterRun AfterMeasurementRun(AppContext& context);

#pragma once

// One axis of a chart, the same on the screen and on a printed page.
struct ChartAxis {
    double Min = 0.0;
    double Max = 1.0;
    double Step = 1.0; // between labelled ticks
    int Ticks() const; // labelled ticks, both ends included
};

// A range with round steps (1, 2 or 5 times a power of ten) that holds lo..hi.
ChartAxis RoundAxis(double lo, double hi, int wantedSteps);

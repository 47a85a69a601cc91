#pragma once

#include <QDateTime>
#include <QString>
#include <array>
#include <cstdint>

// What the logger reported about one channel, CH1 to CH6.
struct ChannelSettings {
    bool Active = false;
    int32_t SensorType = 0; // 1 load cell, 2 accelerometer
    int32_t UnitCode = 0;   // 1 kN, 2 m/s2
    double Capacity = 0.0;
    double RatedOutput = 0.0;
    int32_t Range = 0;
    int32_t LowPass = 0;
    int32_t HighPass = 0;
    double Coefficient = 0.0; // raw reading to kN (CH1) or m/s2
    double TriggerLevel = 0.0;
    int16_t MeasNo = 0;
};

// The one record of the logger's settings and the day's test conditions.
struct LoggerSettings {
    // Index 1 to 6 are CH1 to CH6; index 0 is unused so that channel numbers index directly.
    std::array<ChannelSettings, 7> Channel;

    int32_t SamplingInterval = 0; // microseconds
    int32_t RecordLength = 0;     // samples per channel
    int32_t PreTriggerLength = 0;
    int32_t TriggerChannel = 0;
    int32_t PlateDiameter = 0; // mm
    double PoissonRatio = 0.0;
    int16_t CalcType = 0; // 1 Burmister, otherwise Boussinesq
    int16_t MeasNo = 0;
    int16_t ChannelCount = 0;
    int16_t LastChannel = 0;
    int16_t MaxChannel = 0;

    // Test conditions.
    QString Comment;        // 128 characters, blank-padded
    int32_t DropHeight = 0; // mm
    int32_t WeightMass = 0; // kg
    QDateTime TestDate;
    QDateTime MeasTime;   // start of the last data transfer
    QString Place;        // 40 characters, blank-padded
    QString OperatorName; // 20 characters, blank-padded

    static constexpr int FirstChannel = 1;
    static constexpr int LastChannelNumber = 6;
};

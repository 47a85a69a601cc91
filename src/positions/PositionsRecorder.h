#pragma once

#include "FixSource.h"
#include "PositionLine.h"

#include "shell/Bilingual.h"

#include <QString>
#include <optional>

// What became of the position of the last drop stored.
enum class PositionOutcome {
    NoneYet,     // no drop stored since the program started
    Written,     // its line is in the positions file
    NoFix,       // the receiver had no position (or gpsd never answered)
    StaleFix,    // the latest fix was older than NewestFixSeconds
    CannotWrite, // the positions file could not be written
};

// Whether a drop stored now gets `fix`: Written when there is one no older than
// NewestFixSeconds.
PositionOutcome ChoosePositionWrite(const std::optional<DropFix>& fix);

// Appends `position`'s line to `positionsFile` (its heading first when the file is new or
// empty), synced. Only a regular file (or a new one) is written: a folder, FIFO or device at
// its name is refused unopened. False, with the reason in words, when nothing was written.
bool AppendPosition(const QString& positionsFile, const DropPosition& position, Bilingual* reason);

// The name of the small text file that keeps gpsd's last status for the service report.
inline constexpr const char* GpsdStatusFileName = "gpsd-status.txt";

// The positions of the drops the measurement program stores, and what the operator and the
// service report are told about them. It never asks and never waits: a drop is stored
// whatever becomes of its position.
class PositionsRecorder
{
public:
    // `statusFile`: where the status is kept for the service report (none when empty).
    explicit PositionsRecorder(const FixSource& fixes, QString statusFile = {});

    // After a drop is stored in `dayFile`: its position goes to the day's positions file
    // with its number and date and time as the day file has them.
    PositionOutcome Record(const QString& dayFile, const QString& no, const QString& dateTime);

    FixStatus Fix() const { return m_fixes.Status(); }
    PositionOutcome LastOutcome() const { return m_last; }
    // Why the last drop's position could not be written; empty otherwise.
    const Bilingual& LastProblem() const { return m_problem; }

    // The status file's text: connection, last TPV mode, fix age, last write and problem.
    QString StatusText() const;
    // Writes it, once gpsd has ever answered. A status that cannot be written is let go.
    void KeepStatus() const;

private:
    const FixSource& m_fixes;
    QString m_statusFile;
    PositionOutcome m_last = PositionOutcome::NoneYet;
    Bilingual m_problem;
};

// The measurement screen's line on positions: "GPS 3D ±4.5 m", "GPS no fix", "GPS: positions
// cannot be written", ... Nothing while gpsd has never been reached.
std::optional<Bilingual> PositionsIndicatorText(const FixStatus& status, PositionOutcome last);

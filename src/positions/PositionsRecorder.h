#pragma once

#include "FixSource.h"
#include "record/PositionLine.h"

#include "shell/Bilingual.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QString>
#include <QTimer>
#include <optional>

// What became of the position of the last drop stored.
enum class PositionOutcome {
    NoneYet,     // no drop stored since the program started
    Written,     // its line is in the positions file
    NoFix,       // no receiver had a position (or gpsd never answered)
    StaleFix,    // a receiver's fix was old: its time had stood still
    ClockApart,  // a receiver's time and the computer's clock differed too much
    CannotWrite, // the positions file could not be written
};

// Whether a drop stored now gets a position: Written when the status holds a current fix,
// otherwise why not, the receiver that came nearest to having one deciding.
PositionOutcome ChoosePositionWrite(const FixStatus& status);

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

    // The status file's text as of `now` (the computer's clock): the connection, each
    // receiver with its mode, fix, time, age and standing, the last drop's position and
    // problem. `ended`: the program is closing, so gpsd is no longer followed.
    QString StatusText(const QDateTime& now, bool ended = false) const;
    // Writes it once gpsd has ever answered, not synced, so it costs the window's thread
    // next to nothing. A status that cannot be written is let go.
    void KeepStatus(bool ended = false) const;
    // Keeps it every StatusEveryMs from now on, so that what it says of the connection and
    // the fix's age is at most that old, and once more when the recorder goes.
    void KeepStatusCurrent();
    ~PositionsRecorder();
    PositionsRecorder(const PositionsRecorder&) = delete;
    PositionsRecorder& operator=(const PositionsRecorder&) = delete;

    static constexpr int StatusEveryMs = 1000;

private:
    const FixSource& m_fixes;
    QString m_statusFile;
    PositionOutcome m_last = PositionOutcome::NoneYet;
    QString m_lastDevice; // the receiver of the last line written
    Bilingual m_problem;
    QTimer m_statusTimer;
};

// How the measurement screen's line on positions looks: a fix, an old fix (or a receiver
// whose clock is apart), or none (no fix, gpsd gone, a file that cannot be written).
enum class IndicatorTone { Fix, OldFix, None };
struct PositionsIndicatorState {
    Bilingual Text; // "GPS 3D ±4.5 m", "GPS old fix", "GPS no fix", ...
    IndicatorTone Tone = IndicatorTone::None;
};
// Nothing while gpsd has never been reached.
std::optional<PositionsIndicatorState> PositionsIndicatorFor(const FixStatus& status,
                                                             PositionOutcome last);

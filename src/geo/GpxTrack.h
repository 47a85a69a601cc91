#pragma once

#include "DropPlaces.h"
#include "shell/Bilingual.h"
#include "shell/InputFile.h"

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>
#include <vector>

// A GPS track file (GPX 1.1 or 1.0) read: the points of its tracks and routes that have a
// time, in the file's order, and how many were left out.
struct TrackFile {
    QString Path;
    Track Read;
    int WithoutTime = 0; // no <time>, or one that is no moment
    int OutOfRange = 0;  // latitude or longitude missing, not a number or out of range
    // Set when the file gives no track at all: unreadable, not XML, not GPX, no timed point.
    Bilingual Problem;

    bool Refused() const { return !Problem.En.isEmpty(); }
};

// A day of fixes every second is some 15 MB; a file far larger is no track of a lot.
InputLimit TrackFileLimit();

TrackFile ReadTrackFile(const QString& path);
// The track of a file already read (refused with the read's reason when it could not be).
TrackFile TrackOfInput(const QString& path, const InputRead& read);
TrackFile ParseGpx(const QString& path, const QByteArray& bytes);

// "3 track points without a time and 1 out of range left out"; empty when none was.
Bilingual LeftOutNote(const TrackFile& file);

// Milliseconds since 1970 UTC of an xsd:dateTime as GPX writes it
// ("2026-12-08T04:05:09Z", "2026-12-08T04:05:09.25Z", "2026-12-08T13:05:09+09:00"); without
// a zone it is UTC, as GPX has it.
std::optional<qint64> ReadGpxTime(QStringView text);

// The tracks of several receivers or days as one, in time order; points at the same moment
// keep the order of `tracks` and of each track.
Track MergeTracks(const std::vector<Track>& tracks);

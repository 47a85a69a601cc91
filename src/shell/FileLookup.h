#pragma once

#include <QString>

// The path of the entry `name` inside `folder` (which ends in "/"), compared without
// regard to letter case: an existing "DATA", "Data" or "data" is found for "data". When
// none exists, folder + name as given.
QString FindIgnoringCase(const QString& folder, const QString& name);

// Writes the whole of `bytes` to `path` through a temporary file in the same folder and
// renames it into place, synced to disk first, so that a crash or a full disk never
// leaves a half-written file behind. Returns false (and leaves the old file alone) on
// any failure; `error` gets the system's reason.
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);

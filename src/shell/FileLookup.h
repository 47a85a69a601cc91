#pragma once

#include <QString>

// The path of the entry `name` inside `folder` (which ends in "/"), compared without
// regard to letter case: an existing "DATA", "Data" or "data" is found for "data". When
// none exists, folder + name as given.
QString FindIgnoringCase(const QString& folder, const QString& name);

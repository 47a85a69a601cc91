#pragma once

#include "LoggerSettings.h"

#include <QString>
#include <QStringList>
#include <cstdint>

class SerialLink;

// Cuts `text` at every `delimiter` into `fields` and returns the upper field index, or -1
// (leaving `fields` alone) when the text or delimiter is empty or the delimiter does not
// occur. A trailing delimiter gives an empty last field. At most `capacity` fields are
// kept: further fields of an over-long reply are ignored and the index returned is that
// of the last field kept.
int16_t SplitFields(const QString& text, const QString& delimiter, QStringList& fields,
                    int capacity);

// Field capacities of the callers: a logger reply, a line of the results file.
inline constexpr int ReplyFieldCapacity = 11;
inline constexpr int FileFieldCapacity = 21;

// "RES", then "SET1" to "SET6" for every active channel, statuses ignored.
void SelectActiveChannels(SerialLink& link, const LoggerSettings& settings);

#pragma once

#include "shell/MessageSink.h"

#include <QString>
#include <cstdint>
#include <optional>

class MessageSink;

// The message for an error reply of the logger ("ERR-001" ... "ERR-031" in its first seven
// characters); none for a shorter reply or another code.
std::optional<UiMessage> LoggerErrorMessage(const QString& replyText);
// Shows that message, if there is one.
void DecodeLoggerError(MessageSink& messages, const QString& replyText);

// The message for a failed "VS" or "SEA?" exchange: an error reply (status -1) names a
// faulty (ERR-030) or missing (ERR-031) sensor unit, no reply (status -2) a logger that does
// not answer. Anything else has no message.
std::optional<UiMessage> SensorFaultMessage(int32_t status, const QString& replyText);
void ReportSensorFault(MessageSink& messages, int32_t status, const QString& replyText);

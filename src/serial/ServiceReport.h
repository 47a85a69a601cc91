#pragma once

#include "PortNames.h"

#include <QString>
#include <QStringList>

// Where the parts of a service report come from. The program fills it in; everything but
// the device listing lies in the user folder or is one of the two settings files.
struct ServiceReportSources {
    QString UserFolder;       // ends in "/"
    QString PortSettingsFile; // fwd.rs, wherever the program keeps it
    QString LanguageFile;     // fwdstr.ini
    QString TodayResultsFile; // may not exist
    QString ServiceFolder;    // the transcript's folder, ends in "/"
    QString SerialById = QStringLiteral("/dev/serial/by-id");
    DeviceRoots Roots;
};

// Writes the report, one .tar.gz, to `target`: through a temporary file in the target's
// folder renamed into place, so that a failure never leaves a part of one behind. False,
// with the reason in `error`, when it could not be written.
bool WriteServiceReport(const ServiceReportSources& sources, const QString& target, QString* error);

// The last `count` lines of a file's bytes, as they are (the results file is CP932).
QByteArray LastLines(const QByteArray& bytes, int count);

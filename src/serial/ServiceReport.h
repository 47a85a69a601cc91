#pragma once

#include "PortNames.h"

#include "shell/Bilingual.h"

#include <QString>
#include <QStringList>

// Where the parts of a service report come from. The program fills it in; everything but
// the device listing lies in the user folder, or for fwd.rs in the program's folder. A file
// is taken only when it is a regular file whose real path lies in that folder: a link that
// leads elsewhere, a FIFO, a device or a folder at one of these names is named in the
// report's README.txt instead, and is neither opened nor packed.
struct ServiceReportSources {
    QString UserFolder;         // ends in "/"
    QString PortSettingsFile;   // fwd.rs, in the program's folder
    QString LanguageFile;       // fwdstr.ini
    QString TodayResultsFile;   // may not exist
    QString TodayPositionsFile; // the positions of today's drops; may not exist
    QString GpsdStatusFile;     // gpsd's last status as the program kept it; may not exist
    QString ServiceFolder;      // the transcript's folder, ends in "/"
    QString SerialById = QStringLiteral("/dev/serial/by-id");
    DeviceRoots Roots;
};

// Writes the report, one .tar.gz, to `target` ("-" is standard output) as WriteOutputFile
// does: whole or not at all, never over one of the files it reads nor a day file's name.
// Of a transcript file it takes at most the last RotateBytes. False, with the reason (a
// phrase completing "cannot be written:"), when it could not be written.
bool WriteServiceReport(const ServiceReportSources& sources, const QString& target,
                        Bilingual* reason);

// The last `count` lines of a file's bytes, as they are (the day file is CP932).
QByteArray LastLines(const QByteArray& bytes, int count);

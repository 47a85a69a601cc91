#pragma once

#include "Bilingual.h"

#include <QByteArray>
#include <QStringList>
#include <vector>

// Where an output may go. Field data cannot be measured again: an output never replaces
// a file it was made from, nor anything named as a day file or positions file.
struct OutputRules {
    QStringList Inputs;          // the files read to make it, whatever path reaches them
    bool StandardOutput = false; // "-" is standard output (the command line's convention)
    // Waits for the disk. A note rewritten every second that a power cut may take back (a
    // status kept for the service report) is written without, on the window's thread.
    bool Synced = true;
};

// Writes `bytes` to `path` whole or not at all. A regular file (or a new one) is replaced
// through a synced temporary file in its folder renamed over it, so a full disk or a
// crash leaves the old file exactly as it was; a symbolic link is followed to its file. A
// device or FIFO is written directly and never unlinked or renamed over (a FIFO nobody
// reads is refused rather than waited on); a folder or socket is refused, as are the
// inputs and the names of day files and positions files (*.pos). False with the reason, a
// phrase completing "cannot be written:", when nothing was written.
bool WriteOutputFile(const QString& path, const QByteArray& bytes, const OutputRules& rules,
                     Bilingual* reason);

// The outputs of one command, all or none: each is checked as above, and none may go where
// another goes (both "-", or one file by two names). Every regular file is then made complete
// beside its name before any takes it, devices and FIFOs are written next and standard output
// last, so that a refusal or a full disk leaves every old file as it was and nothing on
// standard output. False with the output that failed (`failed`) and the reason.
struct Output {
    QString Path;
    QByteArray Bytes;
};
bool WriteOutputFiles(const std::vector<Output>& outputs, const OutputRules& rules, QString* failed,
                      Bilingual* reason);

// "OUT cannot be written: the disk is full."
Bilingual CannotWrite(const QString& path, const Bilingual& reason);

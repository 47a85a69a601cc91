#pragma once

#include "Bilingual.h"

#include <QByteArray>
#include <QString>

// What a program reads from outside (a day, a lot, a transcript) is opened only when it is
// a regular file of bounded size. A folder, a FIFO, a device or a socket is named and
// refused without being opened to block, and a file of a stick's disk image is never read
// whole into memory.
struct InputLimit {
    qint64 Bytes = 0;
    Bilingual What; // completes "larger than N MB, the most ... can be": "a day file"
};

enum class InputFault { None, Missing, NotAFile, TooLarge, Unreadable };

struct InputRead {
    InputFault Fault = InputFault::None;
    // A phrase that follows the file's name: "is a folder, not a file.", "does not exist."
    Bilingual Reason;
    qint64 Size = 0; // of the whole file
    QByteArray Bytes;

    bool Ok() const { return Fault == InputFault::None; }
};

// The whole of `path` (links followed), or why not.
InputRead ReadInputFile(const QString& path, const InputLimit& limit);
// Only the last `tailBytes` of a regular file of any size, from the start of a line when
// the cut falls inside one: what a support engineer needs of a long transcript.
InputRead ReadInputTail(const QString& path, qint64 tailBytes);
// `size` in MB as a message gives it beside a `limit` it exceeds, with `decimals` or as many
// more as it takes never to read as the limit itself ("16 MB, larger than the 16 MB").
QString MegabytesBeyond(qint64 size, qint64 limit, int decimals);
// Whether `path` could be read, and its size, without reading it.
InputRead CheckInputFile(const QString& path, const InputLimit& limit);

#pragma once

#include <QByteArray>
#include <QString>

#include <cerrno>
#include <sys/types.h>

// Writing so that what is reported written is on the disk: the one way every file the program
// keeps (a day's results, the positions beside it, an output) gets its bytes. Each function
// fails with errno kept, for the caller to put in words.

// Writes all of `bytes` to `fd`, carrying on after an interruption or a short write. A
// descriptor that takes nothing more without saying why fails with `stalled` (for an
// ordinary file, ENOSPC: the disk is full).
bool WriteWhole(int fd, const QByteArray& bytes, int stalled = EIO);

// Appends all of `bytes` to `fd`, opened for appending, whose length was `sizeBefore`; on a
// failure part-way, what went out is taken back, so that no part of a line stays behind.
bool AppendWhole(int fd, const QByteArray& bytes, off_t sizeBefore);

// Syncs the folder holding `path`, so that a name made or renamed there survives a power cut
// as the data behind it does. Nothing can be done about a folder that cannot be synced.
void SyncFolderOf(const QString& path);

// AppendWhole, then the file synced and, when `created` (the file at `path` was made for
// this line), its folder too.
bool AppendDurably(int fd, const QByteArray& bytes, off_t sizeBefore, const QString& path,
                   bool created);

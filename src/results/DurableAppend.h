#pragma once

#include <QByteArray>
#include <QString>

// Appends to one file so that what is reported written is on the disk, and a failure or a
// crash never leaves part of a line behind: each piece goes out whole or is taken back
// (truncated), and is synced before the step ends. The steps are separate so that a caller
// can repeat just the one that failed.
class DurableAppend
{
public:
    DurableAppend() = default;
    ~DurableAppend();
    DurableAppend(const DurableAppend&) = delete;
    DurableAppend& operator=(const DurableAppend&) = delete;

    // Opens `path` for appending, creating it when missing.
    bool Open(const QString& path);
    // True when the file was empty on opening (just made, or left empty by a crash).
    bool WasEmpty() const { return m_sizeAtOpen == 0; }
    // True when the file does not end in a line end, so that a new line must start one.
    bool EndsInsideLine() const { return m_endsInsideLine; }
    // Writes all of `bytes` at the end, or nothing.
    bool Write(const QByteArray& bytes);
    // Syncs the data (and, for a new file, its folder entry) and closes the file.
    bool SyncAndClose();
    // Gives up: the file gets back the length it had on opening (a file made by Open is
    // removed again) and is closed.
    void Abandon();

    QString ErrorText() const { return m_error; }

private:
    void Fail(const char* what);
    void CloseQuietly();

    QString m_path;
    int m_fd = -1;
    bool m_created = false;
    bool m_endsInsideLine = false;
    long long m_sizeAtOpen = -1;
    QString m_error;
};

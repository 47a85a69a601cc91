#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>
#include <cstdint>
#include <optional>

// The text of a command or reply on one line of the transcript: CR and LF as \r and \n,
// the backslash and the double quote escaped, every other byte outside printable ASCII
// as \xNN (the line carries single-byte characters, so every character is below 256).
QString EscapeLineText(const QString& text);

// The folder of the transcript in the user folder (which ends in "/").
inline QString ServiceFolderOf(const QString& userFolder)
{
    return userFolder + QStringLiteral("service/");
}

// The service transcript of the line, service/line.log in the user folder: one UTF-8 line
// per exchange, for the support engineer. It rotates at RotateBytes keeping KeptOldFiles
// old files (line.log.1 the newest), so it never holds more than five files' worth.
// A file that cannot be written is given up for the rest of the run without a word: the
// transcript must never be the reason a measurement stops.
class ServiceTranscript
{
public:
    static constexpr qint64 RotateBytes = 2 * 1024 * 1024;
    static constexpr int KeptOldFiles = 4;
    // A run of repeats is written out at the latest after this many, so that a program
    // that dies in the middle of a day of monitoring loses at most this much of the count.
    static constexpr int LongestFold = 3600;
    static constexpr const char* FileName = "line.log";

    struct Exchange {
        QDateTime Start;
        QString Port;
        QString Command;
        QString Reply;
        int32_t Status = 0;
        qint64 DurationMs = 0;
    };

    // `folder` ends in "/"; it and the file are made at the first line, not before.
    explicit ServiceTranscript(QString folder);
    ~ServiceTranscript();
    ServiceTranscript(const ServiceTranscript&) = delete;
    ServiceTranscript& operator=(const ServiceTranscript&) = delete;

    // One command transaction. An exchange like the one before it (the live monitor's
    // poll) is only counted; the count, the time of the last and its reply are written
    // when the run of repeats ends.
    void RecordExchange(const Exchange& exchange);
    // A binary block: its length and hash, never its bytes.
    void RecordBinary(const QDateTime& start, const QString& port, const QString& command,
                      qint64 received, qint64 expected, const QByteArray& bytes, int16_t status,
                      qint64 durationMs);
    // A command sent without a reply awaited, the port opened or closed, the line lost.
    void RecordEvent(const QDateTime& time, const QString& port, const QString& what);
    // A message box as the operator saw it.
    void RecordMessage(const QDateTime& time, const QString& title, const QString& text);
    // Writes a run of repeats still being counted.
    void Flush();

    QString FilePath() const { return m_folder + FileName; }
    bool GaveUp() const { return m_gaveUp; }

private:
    void WriteExchange(const Exchange& exchange);
    void WriteLine(const QString& line);
    bool Open();
    bool Rotate();
    QString OldFile(int n) const; // 0 the file itself, 1 the newest old one
    void GiveUp();

    QString m_folder;
    QFile m_file;
    qint64 m_size = 0;
    bool m_gaveUp = false;
    std::optional<Exchange> m_foldBase; // the last exchange written, that repeats fold into
    std::optional<Exchange> m_lastRepeat;
    int m_repeats = 0;
};

#include "ServiceTranscript.h"

#include <QCryptographicHash>
#include <QDir>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

QString TimeText(const QDateTime& time)
{
    return time.toString(Qt::ISODateWithMs);
}

QString Quoted(const QString& text)
{
    return QLatin1Char('"') + EscapeLineText(text) + QLatin1Char('"');
}

QString StatusText(int32_t status)
{
    if (status == -1)
        return QStringLiteral("status -1 (error reply)");
    if (status == -2)
        return QStringLiteral("status -2 (no reply)");
    return QStringLiteral("status %1").arg(status);
}

// A reading at rest differs from the last in its last digit, and around zero in its
// sign, most of the time. Good replies that differ only there are the same poll for the
// engineer, and folding them is what keeps a day of monitoring from pushing the last
// fault out. Error and missing replies fold only when they are the same to the byte.
bool SameShape(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return false;
    auto sign = [](QChar c) { return c == QLatin1Char('+') || c == QLatin1Char('-'); };
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && !(a[i].isDigit() && b[i].isDigit()) && !(sign(a[i]) && sign(b[i])))
            return false;
    }
    return true;
}

bool Repeats(const ServiceTranscript::Exchange& before, const ServiceTranscript::Exchange& now)
{
    if (before.Port != now.Port || before.Command != now.Command || before.Status != now.Status)
        return false;
    return now.Status > 0 ? SameShape(before.Reply, now.Reply) : before.Reply == now.Reply;
}

} // namespace

QString EscapeLineText(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\r')
            out += QLatin1String("\\r");
        else if (u == '\n')
            out += QLatin1String("\\n");
        else if (u == '\\' || u == '"')
            out += QLatin1Char('\\') + c;
        else if (u >= 0x20 && u < 0x7f)
            out += c;
        else
            out += QStringLiteral("\\x%1").arg(unsigned(u & 0xff), 2, 16, QLatin1Char('0'));
    }
    return out;
}

ServiceTranscript::ServiceTranscript(QString folder) : m_folder(std::move(folder)) {}

ServiceTranscript::~ServiceTranscript()
{
    Flush();
}

void ServiceTranscript::RecordExchange(const Exchange& exchange)
{
    if (m_gaveUp)
        return;
    if (m_foldBase && Repeats(*m_foldBase, exchange)) {
        m_lastRepeat = exchange;
        if (++m_repeats >= LongestFold)
            Flush();
        return;
    }
    Flush();
    WriteExchange(exchange);
    m_foldBase = exchange;
}

void ServiceTranscript::WriteExchange(const Exchange& e)
{
    WriteLine(QStringLiteral("%1 %2 %3 -> %4 %5, %6 ms")
                  .arg(TimeText(e.Start), e.Port, Quoted(e.Command), Quoted(e.Reply),
                       StatusText(e.Status))
                  .arg(e.DurationMs));
}

void ServiceTranscript::Flush()
{
    if (m_repeats > 0 && m_lastRepeat) {
        const Exchange& e = *m_lastRepeat;
        WriteLine(QStringLiteral("%1 %2 %3 repeated %4 more times, last -> %5 %6, %7 ms")
                      .arg(TimeText(e.Start), e.Port, Quoted(e.Command))
                      .arg(m_repeats)
                      .arg(Quoted(e.Reply), StatusText(e.Status))
                      .arg(e.DurationMs));
    }
    m_repeats = 0;
    m_lastRepeat.reset();
}

void ServiceTranscript::RecordBinary(const QDateTime& start, const QString& port,
                                     const QString& command, qint64 received, qint64 expected,
                                     const QByteArray& bytes, int16_t status, qint64 durationMs)
{
    if (m_gaveUp)
        return;
    Flush();
    m_foldBase.reset();
    const QByteArray hash = QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
    WriteLine(QStringLiteral("%1 %2 %3 -> binary %4 of %5 bytes, sha256 %6, status %7, %8 ms")
                  .arg(TimeText(start), port, Quoted(command))
                  .arg(received)
                  .arg(expected)
                  .arg(QString::fromLatin1(hash))
                  .arg(status)
                  .arg(durationMs));
}

void ServiceTranscript::RecordEvent(const QDateTime& time, const QString& port, const QString& what)
{
    if (m_gaveUp)
        return;
    Flush();
    m_foldBase.reset();
    WriteLine(TimeText(time) + QLatin1Char(' ') + port + QLatin1Char(' ') + what);
}

void ServiceTranscript::RecordMessage(const QDateTime& time, const QString& title,
                                      const QString& text)
{
    if (m_gaveUp)
        return;
    Flush();
    m_foldBase.reset();
    // The texts are the operator's language; only line ends and control bytes are escaped.
    WriteLine(QStringLiteral("%1 message %2 %3").arg(TimeText(time), Quoted(title), Quoted(text)));
}

void ServiceTranscript::WriteLine(const QString& line)
{
    if (m_gaveUp)
        return;
    const QByteArray bytes = line.toUtf8() + '\n';
    if (!m_file.isOpen() && !Open())
        return;
    if (m_size > 0 && m_size + bytes.size() > RotateBytes && !Rotate())
        return;
    // Flushed at once, so that the line is there when the program dies; no sync to the
    // disk, which would make the line wait for it.
    if (m_file.write(bytes) != bytes.size() || !m_file.flush()) {
        GiveUp();
        return;
    }
    m_size += bytes.size();
}

bool ServiceTranscript::Open()
{
    if (!QDir().mkpath(m_folder)) {
        GiveUp();
        return false;
    }
    // Never waits: a FIFO or a device put at the transcript's name would otherwise hold the
    // measurement screen in this open. Only a regular file is a transcript.
    const int fd = ::open(QFile::encodeName(FilePath()).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    struct stat st {
    };
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        !m_file.open(fd, QIODevice::WriteOnly | QIODevice::Append, QFile::AutoCloseHandle)) {
        if (fd >= 0)
            ::close(fd);
        GiveUp();
        return false;
    }
    m_size = st.st_size;
    return true;
}

bool ServiceTranscript::Rotate()
{
    m_file.close();
    // Plain renames, each over the older name: a rename never opens a file to copy it, as
    // QFile::rename may when the system's fails.
    for (int n = KeptOldFiles - 1; n >= 0; --n) {
        if (::rename(QFile::encodeName(OldFile(n)).constData(),
                     QFile::encodeName(OldFile(n + 1)).constData()) != 0 &&
            errno != ENOENT) {
            GiveUp();
            return false;
        }
    }
    return Open();
}

QString ServiceTranscript::OldFile(int n) const
{
    return n == 0 ? FilePath() : FilePath() + QStringLiteral(".%1").arg(n);
}

void ServiceTranscript::GiveUp()
{
    m_gaveUp = true;
    m_repeats = 0;
    m_lastRepeat.reset();
    if (m_file.isOpen())
        m_file.close();
}

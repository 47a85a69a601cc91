#include "PositionsRecorder.h"

#include "shell/FileReasons.h"
#include "shell/OutputFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

const char* const LineEnd = "\r\n";

bool Fail(Bilingual* reason, int error)
{
    *reason = ReasonOfError(error);
    return false;
}

// Writes all of `bytes` to `fd` at its end, or takes back what part of it went out.
bool WriteWhole(int fd, const QByteArray& bytes, off_t sizeBefore)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            (void)::ftruncate(fd, sizeBefore);
            errno = error;
            return false;
        }
        done += n;
    }
    return true;
}

bool EndsInsideLine(int fd, off_t size)
{
    char last = '\n';
    return ::pread(fd, &last, 1, size - 1) == 1 && last != '\n';
}

QString ModeName(int mode)
{
    switch (mode) {
    case 1:
        return QStringLiteral("1 (no fix)");
    case 2:
        return QStringLiteral("2 (2D)");
    case 3:
        return QStringLiteral("3 (3D)");
    default:
        return QStringLiteral("%1 (unknown)").arg(mode);
    }
}

QString OutcomeName(PositionOutcome outcome)
{
    switch (outcome) {
    case PositionOutcome::NoneYet:
        return QStringLiteral("no drop stored yet");
    case PositionOutcome::Written:
        return QStringLiteral("written");
    case PositionOutcome::NoFix:
        return QStringLiteral("not written: no fix");
    case PositionOutcome::StaleFix:
        return QStringLiteral("not written: the fix was older than %1 s")
            .arg(NewestFixSeconds, 0, 'f', 0);
    case PositionOutcome::CannotWrite:
        return QStringLiteral("not written: the positions file cannot be written");
    }
    return {};
}

} // namespace

PositionOutcome ChoosePositionWrite(const std::optional<DropFix>& fix)
{
    if (!fix)
        return PositionOutcome::NoFix;
    if (!(fix->AgeSeconds <= NewestFixSeconds))
        return PositionOutcome::StaleFix;
    return PositionOutcome::Written;
}

bool AppendPosition(const QString& positionsFile, const DropPosition& position, Bilingual* reason)
{
    const QByteArray path = QFile::encodeName(positionsFile);
    struct stat before {
    };
    if (::stat(path.constData(), &before) == 0 && !S_ISREG(before.st_mode))
        return Fail(reason, S_ISDIR(before.st_mode) ? EISDIR : EINVAL);
    // Non-blocking: whatever appears at the name meanwhile is never waited on.
    const int fd =
        ::open(path.constData(), O_RDWR | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0)
        return Fail(reason, errno);
    struct stat opened {
    };
    bool ok = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode);
    if (!ok)
        errno = EINVAL;
    QByteArray bytes;
    if (ok && opened.st_size == 0)
        bytes = PositionsHeading().toUtf8() + LineEnd;
    else if (ok && EndsInsideLine(fd, opened.st_size))
        bytes = LineEnd; // a line cut by a power failure stays apart from the new one
    bytes += PositionLine(position).toUtf8() + LineEnd;
    ok = ok && WriteWhole(fd, bytes, opened.st_size) && ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    return ok || Fail(reason, error);
}

PositionsRecorder::PositionsRecorder(const FixSource& fixes, QString statusFile)
    : m_fixes(fixes), m_statusFile(std::move(statusFile))
{
}

PositionOutcome PositionsRecorder::Record(const QString& dayFile, const QString& no,
                                          const QString& dateTime)
{
    const std::optional<DropFix> fix = m_fixes.CurrentFix();
    m_last = ChoosePositionWrite(fix);
    m_problem = {};
    if (m_last == PositionOutcome::Written &&
        !AppendPosition(PositionsFilePath(dayFile), DropPosition{no, dateTime, *fix}, &m_problem)) {
        m_problem = CannotWrite(PositionsFilePath(dayFile), m_problem);
        m_last = PositionOutcome::CannotWrite;
    }
    KeepStatus();
    return m_last;
}

QString PositionsRecorder::StatusText() const
{
    const FixStatus s = Fix();
    QString text = QStringLiteral("gpsd reached since the program started: %1\n"
                                  "connected now: %2\n")
                       .arg(s.EverReached ? QStringLiteral("yes") : QStringLiteral("no"),
                            s.Connected ? QStringLiteral("yes") : QStringLiteral("no"));
    text += QStringLiteral("last TPV mode: %1\n")
                .arg(s.LastMode ? ModeName(*s.LastMode) : QStringLiteral("none received"));
    text += s.Fix ? QStringLiteral("latest fix: %1, %2, age %3 s\n")
                        .arg(QString::number(s.Fix->Where.Latitude, 'f', 7),
                             QString::number(s.Fix->Where.Longitude, 'f', 7),
                             QString::number(s.Fix->AgeSeconds, 'f', 1))
                  : QStringLiteral("latest fix: none\n");
    text += QStringLiteral("last drop's position: %1\n").arg(OutcomeName(m_last));
    if (!m_problem.En.isEmpty())
        text += QStringLiteral("last write problem: %1\n").arg(m_problem.En);
    text += QStringLiteral("status written: %1\n")
                .arg(QDateTime::currentDateTime().toString(Qt::ISODate));
    return text;
}

void PositionsRecorder::KeepStatus() const
{
    if (m_statusFile.isEmpty() || !Fix().EverReached)
        return;
    QDir().mkpath(QFileInfo(m_statusFile).absolutePath());
    Bilingual ignored;
    WriteOutputFile(m_statusFile, StatusText().toUtf8(), {}, &ignored);
}

std::optional<Bilingual> PositionsIndicatorText(const FixStatus& status, PositionOutcome last)
{
    if (!status.EverReached)
        return std::nullopt;
    if (last == PositionOutcome::CannotWrite)
        return Words("GPS: 位置を書き込めません", "GPS: positions cannot be written");
    if (!status.Connected)
        return Words("GPS: gpsd に接続していません", "GPS: gpsd not connected");
    if (ChoosePositionWrite(status.Fix) != PositionOutcome::Written)
        return Words("GPS 測位なし", "GPS no fix");
    const DropFix& fix = *status.Fix;
    QString text = fix.ThreeD ? QStringLiteral("GPS 3D") : QStringLiteral("GPS 2D");
    if (fix.HorizontalError)
        text += QStringLiteral(" ±%1 m").arg(*fix.HorizontalError, 0, 'f', 1);
    return Both(text);
}

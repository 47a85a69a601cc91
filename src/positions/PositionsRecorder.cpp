#include "PositionsRecorder.h"

#include "shell/DurableWrite.h"
#include "shell/FileReasons.h"
#include "shell/OutputFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include "record/PlaceFormat.h"
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
        return QStringLiteral("not written: the fix was old, its time had stood still over %1 s")
            .arg(NewestFixSeconds, 0, 'f', 0);
    case PositionOutcome::ClockApart:
        return QStringLiteral("not written: the receiver's time and the computer's clock "
                              "differed by more than %1 s")
            .arg(NewestFixSeconds, 0, 'f', 0);
    case PositionOutcome::CannotWrite:
        return QStringLiteral("not written: the positions file cannot be written");
    }
    return {};
}

QString Seconds(double seconds)
{
    return QString::number(seconds, 'f', 1) + QStringLiteral(" s");
}

QString StandingName(const ReceiverStatus& r)
{
    switch (r.Standing) {
    case FixStanding::NoFix:
        return QStringLiteral("no fix");
    case FixStanding::NoTime:
        return QStringLiteral("not used: the fix has no time");
    case FixStanding::StandsStill:
        return QStringLiteral("not used: an old fix, its time has stood still for ") +
               Seconds(r.SecondsStill);
    case FixStanding::ClockApart:
        return QStringLiteral("not used: its time and the computer's clock differ by ") +
               Seconds(r.ClockDifference);
    case FixStanding::Current:
        return QStringLiteral("current");
    }
    return {};
}

QString ReceiverLine(const ReceiverStatus& r)
{
    QString line =
        QStringLiteral("receiver %1: mode %2")
            .arg(r.Device.isEmpty() ? QStringLiteral("(unnamed)") : r.Device, ModeName(r.Mode));
    if (r.Fix) {
        line += QStringLiteral(", fix %1, %2")
                    .arg(DegreesText(r.Fix->Where.Latitude), DegreesText(r.Fix->Where.Longitude));
    }
    if (r.Time && r.Fix) {
        line += QStringLiteral(", time %1, age %2")
                    .arg(r.Time->toString(Qt::ISODateWithMs), Seconds(r.Fix->AgeSeconds));
    }
    return line + QStringLiteral(": ") + StandingName(r) + QLatin1Char('\n');
}

} // namespace

PositionOutcome ChoosePositionWrite(const FixStatus& status)
{
    if (status.Fix)
        return PositionOutcome::Written;
    const auto any = [&](FixStanding standing) {
        return std::any_of(status.Receivers.begin(), status.Receivers.end(),
                           [&](const ReceiverStatus& r) { return r.Standing == standing; });
    };
    if (any(FixStanding::ClockApart))
        return PositionOutcome::ClockApart;
    if (any(FixStanding::StandsStill))
        return PositionOutcome::StaleFix;
    return PositionOutcome::NoFix;
}

bool AppendPosition(const QString& positionsFile, const DropPosition& position, Bilingual* reason)
{
    const QByteArray path = QFile::encodeName(positionsFile);
    struct stat before {
    };
    const bool existed = ::stat(path.constData(), &before) == 0;
    if (existed && !S_ISREG(before.st_mode))
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
    // A file made here gets its folder synced too, or a power cut could take the name away.
    ok = ok && AppendDurably(fd, bytes, opened.st_size, positionsFile, !existed);
    const int error = errno;
    ::close(fd);
    return ok || Fail(reason, error);
}

PositionsRecorder::PositionsRecorder(const FixSource& fixes, QString statusFile)
    : m_fixes(fixes), m_statusFile(std::move(statusFile))
{
}

PositionsRecorder::~PositionsRecorder()
{
    if (m_statusTimer.isActive())
        KeepStatus(true);
}

PositionOutcome PositionsRecorder::Record(const QString& dayFile, const QString& no,
                                          const QString& dateTime)
{
    const FixStatus status = m_fixes.Status();
    m_last = ChoosePositionWrite(status);
    m_problem = {};
    m_lastDevice.clear();
    if (m_last == PositionOutcome::Written) {
        m_lastDevice = status.Fix->Device;
        if (!AppendPosition(PositionsFilePath(dayFile), DropPosition{no, dateTime, *status.Fix},
                            &m_problem)) {
            m_problem = CannotWrite(PositionsFilePath(dayFile), m_problem);
            m_last = PositionOutcome::CannotWrite;
        }
    }
    return m_last;
}

QString PositionsRecorder::StatusText(const QDateTime& now, bool ended) const
{
    const FixStatus s = Fix();
    const auto yesNo = [](bool yes) { return yes ? QStringLiteral("yes") : QStringLiteral("no"); };
    QString text = QStringLiteral("status as of: %1 (UTC %2)\n")
                       .arg(now.toString(Qt::ISODate), now.toUTC().toString(Qt::ISODate));
    if (ended)
        text += QStringLiteral("the program has ended: gpsd is no longer followed\n");
    text += QStringLiteral("gpsd reached since the program started: %1\n"
                           "connected now: %2\n")
                .arg(yesNo(s.EverReached), yesNo(s.Connected && !ended));
    if (s.Receivers.empty())
        text += QStringLiteral("receivers: none reported\n");
    for (const ReceiverStatus& r : s.Receivers)
        text += ReceiverLine(r);
    text += s.Fix ? QStringLiteral("a drop now takes: %1, age %2\n")
                        .arg(s.Fix->Device, Seconds(s.Fix->AgeSeconds))
                  : QStringLiteral("a drop now takes: no position\n");
    text += QStringLiteral("last drop's position: %1").arg(OutcomeName(m_last));
    if (!m_lastDevice.isEmpty())
        text += QStringLiteral(" (from %1)").arg(m_lastDevice);
    text += QLatin1Char('\n');
    if (!m_problem.En.isEmpty())
        text += QStringLiteral("last write problem: %1\n").arg(m_problem.En);
    return text;
}

void PositionsRecorder::KeepStatus(bool ended) const
{
    if (m_statusFile.isEmpty() || !Fix().EverReached)
        return;
    QDir().mkpath(QFileInfo(m_statusFile).absolutePath());
    OutputRules rules;
    rules.Synced = false;
    Bilingual ignored;
    WriteOutputFile(m_statusFile, StatusText(QDateTime::currentDateTime(), ended).toUtf8(), rules,
                    &ignored);
}

void PositionsRecorder::KeepStatusCurrent()
{
    m_statusTimer.setInterval(StatusEveryMs);
    m_statusTimer.callOnTimeout([this] { KeepStatus(); });
    m_statusTimer.start();
}

std::optional<PositionsIndicatorState> PositionsIndicatorFor(const FixStatus& status,
                                                             PositionOutcome last)
{
    if (!status.EverReached)
        return std::nullopt;
    if (last == PositionOutcome::CannotWrite)
        return PositionsIndicatorState{
            Words("GPS: 位置を書き込めません", "GPS: positions cannot be written")};
    if (!status.Connected)
        return PositionsIndicatorState{
            Words("GPS: gpsd に接続していません", "GPS: gpsd not connected")};
    switch (ChoosePositionWrite(status)) {
    case PositionOutcome::ClockApart:
        return PositionsIndicatorState{Words("GPS 時刻ずれ", "GPS clock apart"),
                                       IndicatorTone::OldFix};
    case PositionOutcome::StaleFix:
        return PositionsIndicatorState{Words("GPS 古い測位", "GPS old fix"), IndicatorTone::OldFix};
    case PositionOutcome::Written:
        break;
    default:
        return PositionsIndicatorState{Words("GPS 測位なし", "GPS no fix")};
    }
    const DropFix& fix = *status.Fix;
    QString text = fix.ThreeD ? QStringLiteral("GPS 3D") : QStringLiteral("GPS 2D");
    if (fix.HorizontalError)
        text += QStringLiteral(" ±%1 m").arg(*fix.HorizontalError, 0, 'f', 1);
    return PositionsIndicatorState{Both(text), IndicatorTone::Fix};
}

#include "ServiceReport.h"

#include "ServiceTranscript.h"

#include "shell/FileReasons.h"
#include "shell/InputFile.h"
#include "shell/OutputFile.h"
#include "shell/Version.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <optional>
#include <sys/stat.h>

namespace
{

constexpr int ResultLinesKept = 20;
// Twenty result lines are some 2 KB: a tail this long holds them, however large the file.
constexpr qint64 ResultsTailBytes = 64 * 1024;
// fwd.rs and fwdstr.ini hold a few bytes; anything past this is not the program's.
constexpr qint64 SettingsTailBytes = 1024 * 1024;
// A day's positions are some 70 bytes a drop: far more than any day holds.
constexpr qint64 PositionsTailBytes = 2 * 1024 * 1024;
constexpr int TarTimeoutMs = 60000;
constexpr int TarErrorShown = 200; // characters of tar's complaint a message quotes

QString VersionText()
{
    return QStringLiteral("%1 %2.%3.%4\n%5\n\nOperating system: %6 (%7 %8, %9)\n"
                          "Qt: %10 (built with %11)\nReport written: %12\n")
        .arg(QLatin1String(Version::Comment))
        .arg(Version::Major)
        .arg(Version::Minor)
        .arg(Version::Revision)
        .arg(QLatin1String(Version::FileDescription), QSysInfo::prettyProductName(),
             QSysInfo::kernelType(), QSysInfo::kernelVersion(), QSysInfo::currentCpuArchitecture(),
             QLatin1String(qVersion()), QLatin1String(QT_VERSION_STR),
             QDateTime::currentDateTime().toString(Qt::ISODate));
}

QString SerialDevicesText(const ServiceReportSources& s)
{
    QString text = s.SerialById + QStringLiteral(":\n");
    const QFileInfoList byId =
        QDir(s.SerialById).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : byId)
        text += QStringLiteral("  %1 -> %2\n").arg(entry.fileName(), entry.symLinkTarget());
    if (byId.isEmpty())
        text += QStringLiteral("  (none)\n");
    text += QStringLiteral("\nThe program's port list:\n");
    const QStringList names = SerialPortNames(s.UserFolder, s.Roots);
    for (const QString& name : names) {
        const int com = name.mid(3).toInt();
        text += QStringLiteral("  ") +
                DescribeComDevice(com, ComDevicePath(com, s.UserFolder, s.Roots)) +
                QLatin1Char('\n');
    }
    if (names.isEmpty())
        text += QStringLiteral("  (none)\n");
    return text;
}

// A folder the report takes files from, as README.txt names it.
struct SourceFolder {
    QString Path;
    const char* Name;
};

QString Megabytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1);
}

// The last `most` bytes of `path` when it is a regular file whose real path lies inside
// `folder`. Nothing when it is missing; nothing, with a note for README.txt, when it
// leads out of the folder (a link to /etc/shadow) or is not a file (a FIFO is never opened).
std::optional<InputRead> ReadSource(const QString& path, const SourceFolder& folder, qint64 most,
                                    QStringList* notes)
{
    const QFileInfo info(path);
    const QString shown = QDir(folder.Path).relativeFilePath(path);
    const QString real = info.canonicalFilePath();
    if (real.isEmpty())
        return std::nullopt;
    const QString base = QDir(folder.Path).canonicalPath();
    if (base.isEmpty() || !real.startsWith(base.endsWith('/') ? base : base + '/')) {
        *notes << QStringLiteral("%1 %2 %3, outside %4: not included.")
                      .arg(shown,
                           info.isSymLink() ? QStringLiteral("is a link to")
                                            : QStringLiteral("leads through a link to"),
                           real, QLatin1String(folder.Name));
        return std::nullopt;
    }
    // A hard link is the same file under a second name, maybe one outside the folder: the
    // name inside says nothing of where else the file lies.
    struct stat st {
    };
    if (::stat(QFile::encodeName(real).constData(), &st) == 0 && S_ISREG(st.st_mode) &&
        st.st_nlink > 1) {
        *notes << QStringLiteral("%1 has %2 names (hard links), maybe outside %3: not included.")
                      .arg(shown)
                      .arg(st.st_nlink)
                      .arg(QLatin1String(folder.Name));
        return std::nullopt;
    }
    InputRead read = ReadInputTail(real, most);
    if (read.Fault == InputFault::Missing)
        return std::nullopt;
    if (!read.Ok()) {
        *notes << shown + QLatin1Char(' ') + read.Reason.En + QStringLiteral(" Not included.");
        return std::nullopt;
    }
    return read;
}

// The parts in a temporary folder, as tar takes them.
class Staging
{
public:
    Staging()
    {
        if (!m_dir.isValid())
            m_reason = Both(m_dir.errorString());
    }
    // Empty while every part has been written.
    const Bilingual& Failure() const { return m_reason; }
    QString Path() const { return m_dir.path(); }
    const QStringList& Members() const { return m_members; }

    void Write(const QString& member, const QByteArray& bytes)
    {
        m_members << member;
        if (!m_reason.En.isEmpty())
            return;
        QDir(m_dir.path()).mkpath(QFileInfo(member).path());
        // The report's own new folder holds nothing to keep, so its copies are plain writes:
        // the copy of today's positions keeps the .pos name that no output may take.
        QFile copy(m_dir.filePath(member));
        if (!copy.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
            copy.write(bytes) != bytes.size())
            m_reason = ReasonOfError(errno);
    }

private:
    QTemporaryDir m_dir;
    Bilingual m_reason;
    QStringList m_members;
};

QString Present(bool present, const QString& what)
{
    return present ? what : what + QStringLiteral(" (not present)");
}

QString TranscriptPath(const ServiceReportSources& s, int n)
{
    const QString base = s.ServiceFolder + QLatin1String(ServiceTranscript::FileName);
    return n == 0 ? base : base + QStringLiteral(".%1").arg(n);
}

// Why tar gave no archive: whether it could be started at all, else how it ended and what
// it said.
Bilingual TarFailure(QProcess& tar)
{
    if (tar.error() == QProcess::FailedToStart)
        return Words("tar を起動できません (インストールされていないか PATH にありません)",
                     "tar could not be started (it is not installed or not on PATH)");
    if (tar.state() != QProcess::NotRunning)
        return Words("tar が 1 分以内に終わりません", "tar did not finish within a minute");
    if (tar.exitStatus() != QProcess::NormalExit)
        return Words("tar が異常終了しました", "tar stopped abnormally");
    const QString said =
        Clipped(QString::fromLocal8Bit(tar.readAllStandardError()).simplified(), TarErrorShown);
    const Bilingual text =
        Words("tar が終了コード %1 で終わりました: %2", "tar ended with exit status %1: %2");
    return {text.Ja.arg(tar.exitCode()).arg(said), text.En.arg(tar.exitCode()).arg(said)};
}

} // namespace

QByteArray LastLines(const QByteArray& bytes, int count)
{
    qsizetype start = bytes.size();
    if (bytes.endsWith('\n'))
        --start;
    for (int n = 0; n < count && start > 0; ++n)
        start = bytes.lastIndexOf('\n', start - 1);
    return start <= 0 ? bytes : bytes.mid(start + 1);
}

bool WriteServiceReport(const ServiceReportSources& s, const QString& target, Bilingual* reason)
{
    Staging staging;
    QStringList notes;
    const SourceFolder user{s.UserFolder, "the user folder"};
    const SourceFolder program{QFileInfo(s.PortSettingsFile).absolutePath(),
                               "the program's folder"};
    // A file taken whole up to `most` bytes; a larger one only its end, and README.txt says so.
    auto take = [&](const QString& member, const QString& path, const SourceFolder& folder,
                    qint64 most) {
        const std::optional<InputRead> read = ReadSource(path, folder, most, &notes);
        if (!read)
            return false;
        staging.Write(member, read->Bytes);
        if (read->Size > most)
            notes << QStringLiteral("%1 is %2 MB: only its last %3 MB are included.")
                         .arg(member, MegabytesBeyond(read->Size, most, 1), Megabytes(most));
        return true;
    };
    staging.Write(QStringLiteral("version.txt"), VersionText().toUtf8());
    staging.Write(QStringLiteral("serial-devices.txt"), SerialDevicesText(s).toUtf8());
    const bool portSettings =
        take(QStringLiteral("fwd.rs"), s.PortSettingsFile, program, SettingsTailBytes);
    const bool language =
        take(QStringLiteral("fwdstr.ini"), s.LanguageFile, user, SettingsTailBytes);
    const bool positions =
        take(QStringLiteral("positions-today.pos"), s.TodayPositionsFile, user, PositionsTailBytes);
    const bool gpsdStatus =
        take(QStringLiteral("gpsd-status.txt"), s.GpsdStatusFile, user, SettingsTailBytes);
    QStringList inputs{s.PortSettingsFile, s.LanguageFile, s.TodayResultsFile, s.TodayPositionsFile,
                       s.GpsdStatusFile};
    int transcripts = 0;
    for (int n = 0; n <= ServiceTranscript::KeptOldFiles; ++n) {
        inputs << TranscriptPath(s, n);
        const QString member = QStringLiteral("service/") + QFileInfo(inputs.last()).fileName();
        transcripts += take(member, inputs.last(), user, ServiceTranscript::RotateBytes);
    }
    const std::optional<InputRead> results =
        ReadSource(s.TodayResultsFile, user, ResultsTailBytes, &notes);
    if (results)
        staging.Write(QStringLiteral("results-today.csv"),
                      LastLines(results->Bytes, ResultLinesKept));

    const QString readme =
        QStringLiteral(
            "VX-2968 service report\n\n"
            "version.txt         the program's version, the operating system and Qt\n"
            "serial-devices.txt  the serial devices present (%1) and the COM ports the\n"
            "                    program lists, with the device each one names\n"
            "%2\n%3\n%4\n%5\n%8\n%9\n\n"
            "Only the program's own files are taken: regular files whose real path lies in\n"
            "the user folder (for fwd.rs, the program's folder). A link that leads elsewhere,\n"
            "a FIFO, a device or a folder at one of their names is named below and never\n"
            "opened. Of each transcript file at most the last %6 MB is taken.\n%7\n"
            "A transcript line: the time the exchange started, the port, the command as sent,\n"
            "the reply as received (CR and LF as \\r \\n, other bytes that are not printable\n"
            "as \\xNN), the status (the reply's length, -1 an error reply, -2 no reply) and\n"
            "the duration. Binary blocks are given by length and SHA-256 hash. Repeats of\n"
            "the same poll are folded into one line with their count and the time of the\n"
            "last. `vx-logger-sim --replay line.log` plays a transcript back.\n")
            .arg(
                s.SerialById,
                Present(portSettings, QStringLiteral("fwd.rs              the port settings file")),
                Present(language, QStringLiteral("fwdstr.ini          the language file")),
                transcripts == 0
                    ? QStringLiteral("service/            (no transcript of the line yet)")
                    : QStringLiteral("service/line.log*   the transcript of the serial line, "
                                     "newest first (%1 files)")
                          .arg(transcripts),
                Present(results.has_value(),
                        QStringLiteral("results-today.csv   the last %1 lines of "
                                       "today's results file (%2, CP932)")
                            .arg(ResultLinesKept)
                            .arg(QFileInfo(s.TodayResultsFile).fileName())),
                QString::number(ServiceTranscript::RotateBytes / (1024 * 1024)),
                notes.isEmpty() ? QString()
                                : QStringLiteral("\nLeft out or cut:\n  ") +
                                      notes.join(QStringLiteral("\n  ")) + QLatin1Char('\n'),
                Present(positions, QStringLiteral("positions-today.pos where today's drops were "
                                                  "made (%1)")
                                       .arg(QFileInfo(s.TodayPositionsFile).fileName())),
                Present(gpsdStatus, QStringLiteral("gpsd-status.txt     gpsd's status, kept every "
                                                   "second: connection, each receiver's fix and "
                                                   "age, the last drop's position")));
    staging.Write(QStringLiteral("README.txt"), readme.toUtf8());
    if (!staging.Failure().En.isEmpty()) {
        const Bilingual text =
            Words("一時フォルダ %1 にレポートを用意できません: %2",
                  "the report cannot be prepared in the temporary folder %1: %2");
        *reason = {text.Ja.arg(QDir::tempPath(), staging.Failure().Ja),
                   text.En.arg(QDir::tempPath(), staging.Failure().En)};
        return false;
    }

    QStringList members = staging.Members();
    members.move(members.size() - 1, 0); // README.txt first
    QProcess tar;
    tar.start(QStringLiteral("tar"),
              QStringList{QStringLiteral("-czf"), QStringLiteral("-"), QStringLiteral("-C"),
                          staging.Path(), QStringLiteral("--owner=0"), QStringLiteral("--group=0"),
                          QStringLiteral("--")} +
                  members);
    if (!tar.waitForFinished(TarTimeoutMs) || tar.exitStatus() != QProcess::NormalExit ||
        tar.exitCode() != 0) {
        *reason = TarFailure(tar);
        return false;
    }
    return WriteOutputFile(target, tar.readAllStandardOutput(), OutputRules{inputs, true}, reason);
}

#include "ServiceReport.h"

#include "ServiceTranscript.h"

#include "shell/FileLookup.h"
#include "shell/OutputFile.h"
#include "shell/Version.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

namespace
{

constexpr int ResultLinesKept = 20;
constexpr int TarTimeoutMs = 60000;

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

class Staging
{
public:
    bool Ok() const { return m_dir.isValid() && m_ok; }
    QString Path() const { return m_dir.path(); }
    const QStringList& Members() const { return m_members; }

    void Write(const QString& member, const QByteArray& bytes)
    {
        QFile file(m_dir.filePath(member));
        m_ok = m_ok && file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
        m_members << member;
    }
    // False when there is no such file (or it cannot be read).
    bool Copy(const QString& member, const QString& source)
    {
        QFile file(source);
        if (source.isEmpty() || !QFileInfo(source).isFile() || !file.open(QIODevice::ReadOnly))
            return false;
        QDir(m_dir.path()).mkpath(QFileInfo(member).path());
        Write(member, file.readAll());
        return true;
    }

private:
    QTemporaryDir m_dir;
    bool m_ok = true;
    QStringList m_members;
};

QString Present(bool present, const QString& what)
{
    return present ? what : what + QStringLiteral(" (not present)");
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

bool WriteServiceReport(const ServiceReportSources& s, const QString& target, QString* error)
{
    Staging staging;
    staging.Write(QStringLiteral("version.txt"), VersionText().toUtf8());
    staging.Write(QStringLiteral("serial-devices.txt"), SerialDevicesText(s).toUtf8());
    const bool portSettings = staging.Copy(QStringLiteral("fwd.rs"), s.PortSettingsFile);
    const bool language = staging.Copy(QStringLiteral("fwdstr.ini"), s.LanguageFile);
    QStringList transcripts;
    const QString base = s.ServiceFolder + QLatin1String(ServiceTranscript::FileName);
    for (int n = 0; n <= ServiceTranscript::KeptOldFiles; ++n) {
        const QString suffix = n == 0 ? QString() : QStringLiteral(".%1").arg(n);
        const QString member =
            QStringLiteral("service/") + QLatin1String(ServiceTranscript::FileName) + suffix;
        if (staging.Copy(member, base + suffix))
            transcripts << member;
    }
    QFile results(s.TodayResultsFile);
    const bool haveResults =
        QFileInfo(s.TodayResultsFile).isFile() && results.open(QIODevice::ReadOnly);
    if (haveResults)
        staging.Write(QStringLiteral("results-today.csv"),
                      LastLines(results.readAll(), ResultLinesKept));

    const QString readme =
        QStringLiteral(
            "VX-2968 service report\n\n"
            "version.txt         the program's version, the operating system and Qt\n"
            "serial-devices.txt  the serial devices present (%1) and the COM ports the\n"
            "                    program lists, with the device each one names\n"
            "%2\n%3\n%4\n%5\n\n"
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
                transcripts.isEmpty()
                    ? QStringLiteral("service/            (no transcript of the line yet)")
                    : QStringLiteral("service/line.log*   the transcript of the serial line, "
                                     "newest first (%1 files)")
                          .arg(transcripts.size()),
                Present(haveResults, QStringLiteral("results-today.csv   the last %1 lines of "
                                                    "today's results file (%2, CP932)")
                                         .arg(ResultLinesKept)
                                         .arg(QFileInfo(s.TodayResultsFile).fileName())));
    staging.Write(QStringLiteral("README.txt"), readme.toUtf8());
    if (!staging.Ok()) {
        if (error)
            *error = QStringLiteral("cannot prepare the report in a temporary folder");
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
        if (error)
            *error = QStringLiteral("tar failed: ") +
                     QString::fromLocal8Bit(tar.readAllStandardError()).trimmed();
        return false;
    }
    Bilingual reason;
    if (WriteOutputFile(target, tar.readAllStandardOutput(), {}, &reason))
        return true;
    if (error)
        *error = reason.En;
    return false;
}

#include "PrivateCups.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QThread>
#include <QtTest/QTest>

#include <unistd.h>

namespace
{

constexpr const char* CupsPdfBackend = "/usr/lib/cups/backend/cups-pdf";
constexpr const char* CupsPdfPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
constexpr const char* BackendConfigFolder = "/etc/cups";

bool WriteText(const QString& path, const QString& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text.toUtf8()) >= 0;
}

} // namespace

PrivateCups::PrivateCups()
{
    m_hadServer = qEnvironmentVariableIsSet("CUPS_SERVER");
    m_oldServer = qgetenv("CUPS_SERVER");
    qputenv("CUPS_SERVER", Folder("cups.sock").toLocal8Bit());
}

PrivateCups::~PrivateCups()
{
    if (m_cupsd.state() != QProcess::NotRunning) {
        m_cupsd.terminate();
        if (!m_cupsd.waitForFinished(10000)) {
            m_cupsd.kill();
            m_cupsd.waitForFinished(5000);
        }
    }
    for (const QString& config : m_backendConfigs)
        QFile::remove(config);
    if (m_hadServer)
        qputenv("CUPS_SERVER", m_oldServer);
    else
        qunsetenv("CUPS_SERVER");
}

QString PrivateCups::Unavailable()
{
    if (::geteuid() != 0)
        return QStringLiteral("cupsd and the cups-pdf backend run only as root");
    for (const char* program : {"cupsd", "lpadmin", "lpstat", "gs"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(program), {"/usr/sbin", "/usr/bin"})
                .isEmpty())
            return QStringLiteral("%1 is not installed (scripts/install-deps installs cups and "
                                  "printer-driver-cups-pdf)")
                .arg(QString::fromLatin1(program));
    }
    for (const char* file : {CupsPdfBackend, CupsPdfPpd}) {
        if (!QFileInfo::exists(QString::fromLatin1(file)))
            return QStringLiteral("%1 is missing (package printer-driver-cups-pdf)")
                .arg(QString::fromLatin1(file));
    }
    if (!QFileInfo(QString::fromLatin1(BackendConfigFolder)).isWritable())
        return QStringLiteral("%1 cannot be written").arg(QString::fromLatin1(BackendConfigFolder));
    return {};
}

bool PrivateCups::Run(const QString& program, const QStringList& arguments, QString* output)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        m_error = QStringLiteral("%1 %2 failed: %3")
                      .arg(program, arguments.join(' '),
                           QString::fromLocal8Bit(p.readAllStandardError()));
        return false;
    }
    if (output)
        *output = QString::fromLocal8Bit(p.readAllStandardOutput());
    return true;
}

bool PrivateCups::Start(int timeoutMs)
{
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return false;
    }
    // The filters run as lp: they must reach the spool below this folder.
    QFile::setPermissions(m_dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner | QFileDevice::ReadGroup |
                                            QFileDevice::ExeGroup | QFileDevice::ReadOther |
                                            QFileDevice::ExeOther);
    for (const char* sub : {"etc/ppd", "spool/tmp", "cache", "state", "log", "out"})
        QDir().mkpath(Folder(QString::fromLatin1(sub)));
    const QString socket = Folder("cups.sock");
    const bool written =
        WriteText(Folder("etc/cupsd.conf"),
                  QStringLiteral("Listen %1\n"
                                 "LogLevel warn\nWebInterface No\nBrowsing No\n"
                                 "DefaultAuthType None\n"
                                 "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                                 "<Policy default>\n  <Limit All>\n    Order deny,allow\n"
                                 "  </Limit>\n</Policy>\n")
                      .arg(socket)) &&
        WriteText(Folder("etc/cups-files.conf"),
                  QStringLiteral("ServerRoot %1\nRequestRoot %2\nTempDir %3\nCacheDir %4\n"
                                 "StateDir %5\nAccessLog %6/access_log\nErrorLog %6/error_log\n"
                                 "PageLog %6/page_log\nUser lp\nGroup lp\nSystemGroup root\n")
                      .arg(Folder("etc"), Folder("spool"), Folder("spool/tmp"), Folder("cache"),
                           Folder("state"), Folder("log")));
    if (!written) {
        m_error = QStringLiteral("cannot write the configuration in %1").arg(m_dir.path());
        return false;
    }
    m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
    m_cupsd.start(QStringLiteral("cupsd"),
                  {"-f", "-c", Folder("etc/cupsd.conf"), "-s", Folder("etc/cups-files.conf")});
    if (!m_cupsd.waitForStarted(10000)) {
        m_error = QStringLiteral("cupsd did not start: %1").arg(m_cupsd.errorString());
        return false;
    }
    const bool answers = QTest::qWaitFor(
        [&] {
            QProcess probe;
            probe.start(QStringLiteral("lpstat"), {"-r"});
            probe.waitForFinished(5000);
            return m_cupsd.state() == QProcess::Running && probe.exitCode() == 0 &&
                   probe.readAllStandardOutput().contains("is running");
        },
        timeoutMs);
    if (!answers) {
        QFile log(Folder("log/error_log"));
        log.open(QIODevice::ReadOnly);
        m_error = QStringLiteral("cupsd does not answer on %1: %2 %3")
                      .arg(socket, QString::fromLocal8Bit(m_cupsd.readAll()),
                           QString::fromLocal8Bit(log.readAll()));
    }
    return answers;
}

QString PrivateCups::QueueName(const QString& name) const
{
    return QStringLiteral("%1_vx%2").arg(name).arg(QCoreApplication::applicationPid());
}

bool PrivateCups::AddPdfQueue(const QString& name, bool makeDefault)
{
    const QString queue = QueueName(name);
    const QString out = OutputFolder(name);
    QDir().mkpath(out);
    QDir().mkpath(Folder("spool/cups-pdf"));
    const QString config =
        QStringLiteral("%1/cups-pdf-%2.conf").arg(QString::fromLatin1(BackendConfigFolder), queue);
    if (!WriteText(config, QStringLiteral("Out %1\nAnonDirName %1\nSpool %2\nUserUMask 0022\n")
                               .arg(out, Folder("spool/cups-pdf")))) {
        m_error = QStringLiteral("cannot write %1").arg(config);
        return false;
    }
    m_backendConfigs << config;
    // The queue takes PostScript; poppler's and Ghostscript's conversions of Qt's fonts
    // lose what the glyphs mean (a ruler finds no words), cairo's keeps it.
    if (!Run(QStringLiteral("lpadmin"),
             {"-p", queue, "-E", "-v", "cups-pdf:/" + queue, "-P", QString::fromLatin1(CupsPdfPpd),
              "-o", "pdftops-renderer-default=pdftocairo"}))
        return false;
    return !makeDefault || Run(QStringLiteral("lpadmin"), {"-d", queue});
}

int PrivateCups::PdfCount(const QString& name) const
{
    return int(QDir(OutputFolder(name)).entryList({"*.pdf"}, QDir::Files).size());
}

QString PrivateCups::WaitForPdf(const QString& name, int count, int timeoutMs)
{
    const QString queue = QueueName(name);
    const bool done = QTest::qWaitFor(
        [&] {
            if (PdfCount(name) < count)
                return false;
            QString pending;
            return Run(QStringLiteral("lpstat"), {"-o", queue}, &pending) && pending.isEmpty();
        },
        timeoutMs);
    if (!done) {
        m_error = QStringLiteral("queue %1 wrote %2 of %3 PDF files")
                      .arg(queue)
                      .arg(PdfCount(name))
                      .arg(count);
        return {};
    }
    for (const QFileInfo& file : QDir(OutputFolder(name)).entryInfoList({"*.pdf"}, QDir::Files)) {
        if (!m_seen.contains(file.absoluteFilePath())) {
            m_seen << file.absoluteFilePath();
            return file.absoluteFilePath();
        }
    }
    return {};
}

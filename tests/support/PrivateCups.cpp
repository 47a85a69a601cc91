#include "PrivateCups.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest/QTest>

#include <unistd.h>

namespace
{
const QString CupsPdfBackend = "/usr/lib/cups/backend/cups-pdf";
const QString CupsPdfPpd = "/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd";
const QString BackendConfigFolder = "/etc/cups";

bool WriteText(const QString& path, const QString& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(text.toUtf8()) >= 0;
}
} // namespace

PrivateCups::PrivateCups()
    : m_oldServer(qgetenv("CUPS_SERVER")), m_hadServer(qEnvironmentVariableIsSet("CUPS_SERVER"))
{
    qputenv("CUPS_SERVER", Folder("cups.sock").toLocal8Bit());
}

PrivateCups::~PrivateCups()
{
    m_cupsd.terminate();
    if (!m_cupsd.waitForFinished(10000))
        m_cupsd.kill();
    m_cupsd.waitForFinished(5000);
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
        return "cupsd and the cups-pdf backend run only as root";
    for (const QString& file :
         {QString("/usr/sbin/cupsd"), QString("/usr/sbin/lpadmin"), QString("/usr/bin/lpstat"),
          QString("/usr/bin/gs"), CupsPdfBackend, CupsPdfPpd})
        if (!QFileInfo::exists(file))
            return file + " is missing (scripts/install-deps installs cups and "
                          "printer-driver-cups-pdf)";
    if (!QFileInfo(BackendConfigFolder).isWritable())
        return BackendConfigFolder + " cannot be written";
    return {};
}

bool PrivateCups::Run(const QString& program, const QStringList& arguments, QString* output)
{
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        m_error = program + " " + arguments.join(' ') +
                  " failed: " + QString::fromLocal8Bit(p.readAllStandardError());
        return false;
    }
    if (output)
        *output = QString::fromLocal8Bit(p.readAllStandardOutput());
    return true;
}

bool PrivateCups::Start(int timeoutMs)
{
    // The filters run as lp: they must reach the spool below this folder (rwxr-xr-x).
    QFile::setPermissions(m_dir.path(), QFileDevice::Permissions::fromInt(0x7055));
    for (const char* sub : {"etc/ppd", "spool/tmp", "cache", "state", "log", "out"})
        QDir().mkpath(Folder(sub));
    const QString socket = Folder("cups.sock");
    if (!WriteText(Folder("etc/cupsd.conf"),
                   "Listen " + socket +
                       "\nLogLevel warn\nWebInterface No\nBrowsing No\nDefaultAuthType None\n"
                       "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                       "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n"
                       "</Policy>\n") ||
        !WriteText(Folder("etc/cups-files.conf"),
                   QString("ServerRoot %1\nRequestRoot %2\nTempDir %3\nCacheDir %4\nStateDir %5\n"
                           "AccessLog %6/access_log\nErrorLog %6/error_log\nPageLog %6/page_log\n"
                           "User lp\nGroup lp\nSystemGroup root\n")
                       .arg(Folder("etc"), Folder("spool"), Folder("spool/tmp"), Folder("cache"),
                            Folder("state"), Folder("log")))) {
        m_error = "cannot write the configuration in " + m_dir.path();
        return false;
    }
    m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
    m_cupsd.start("cupsd",
                  {"-f", "-c", Folder("etc/cupsd.conf"), "-s", Folder("etc/cups-files.conf")});
    QString status;
    const auto up = [&] {
        return m_cupsd.state() == QProcess::Running && Run("lpstat", {"-r"}, &status) &&
               status.contains("is running");
    };
    if (QTest::qWaitFor(up, timeoutMs))
        return true;
    QFile log(Folder("log/error_log"));
    log.open(QIODevice::ReadOnly);
    m_error = "cupsd does not answer on " + socket + ": " + m_cupsd.errorString() + " " +
              QString::fromLocal8Bit(m_cupsd.readAll() + log.readAll());
    return false;
}

QString PrivateCups::QueueName(const QString& name) const
{
    return QStringLiteral("%1_vx%2").arg(name).arg(QCoreApplication::applicationPid());
}

bool PrivateCups::AddPdfQueue(const QString& name, bool makeDefault)
{
    const QString queue = QueueName(name);
    QDir().mkpath(OutputFolder(name));
    QDir().mkpath(Folder("spool/cups-pdf"));
    const QString config = BackendConfigFolder + "/cups-pdf-" + queue + ".conf";
    m_backendConfigs << config;
    if (!WriteText(config, QString("Out %1\nAnonDirName %1\nSpool %2\nUserUMask 0022\n")
                               .arg(OutputFolder(name), Folder("spool/cups-pdf")))) {
        m_error = "cannot write " + config;
        return false;
    }
    // The queue takes PostScript; poppler's and Ghostscript's conversions of Qt's fonts
    // lose what the glyphs mean (a ruler finds no words), cairo's keeps it.
    return Run("lpadmin", {"-p", queue, "-E", "-v", "cups-pdf:/" + queue, "-P", CupsPdfPpd, "-o",
                           "pdftops-renderer-default=pdftocairo"}) &&
           (!makeDefault || Run("lpadmin", {"-d", queue}));
}

int PrivateCups::PdfCount(const QString& name) const
{
    return int(QDir(OutputFolder(name)).entryList({"*.pdf"}, QDir::Files).size());
}

QString PrivateCups::WaitForPdf(const QString& name, int count, int timeoutMs)
{
    QString pending;
    const auto done = [&] {
        return PdfCount(name) >= count && Run("lpstat", {"-o", QueueName(name)}, &pending) &&
               pending.isEmpty();
    };
    if (!QTest::qWaitFor(done, timeoutMs)) {
        m_error = QString("queue %1 wrote %2 of %3 PDF files")
                      .arg(QueueName(name))
                      .arg(PdfCount(name))
                      .arg(count);
        return {};
    }
    for (const QFileInfo& file : QDir(OutputFolder(name)).entryInfoList({"*.pdf"}, QDir::Files))
        if (!m_seen.contains(file.absoluteFilePath())) {
            m_seen << file.absoluteFilePath();
            return file.absoluteFilePath();
        }
    return {};
}

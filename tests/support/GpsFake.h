#pragma once

// A real gpsd fed by gpsfake with NMEA sentences a test writes, on a free port of its own,
// so that a gpsd of the machine (a Debian package on 2947) never takes part:
//
//     GpsFake gps;
//     ASSERT_TRUE(gps.Start(GpsFake::FixSentences())) << gps.ErrorText().toStdString();
//     qputenv("VX2968_GPSD", gps.Endpoint());   // or GpsdEndpointFrom(gps.Endpoint())
//     ...
//     gps.Stop();                                // gpsd goes, as when it is stopped in the field
//
// gpsfake plays the sentences again and again, so a fix stays fresh. Header-only.

#include <QByteArray>
#include <QFile>
#include <QHostAddress>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <csignal>
#include <unistd.h>

class GpsFake
{
public:
    GpsFake() : m_port(FreePort()) {}
    ~GpsFake() { Stop(); }
    GpsFake(const GpsFake&) = delete;
    GpsFake& operator=(const GpsFake&) = delete;

    // A sentence with its checksum and line end, from the text between "$" and "*".
    static QByteArray Sentence(const QByteArray& body)
    {
        unsigned char sum = 0;
        for (const char c : body)
            sum ^= static_cast<unsigned char>(c);
        return "$" + body + "*" + QByteArray::number(sum, 16).rightJustified(2, '0').toUpper() +
               "\r\n";
    }
    // A 3D fix at 35.6812350 N 139.7671250 E, 40.2 m above the sea, HDOP 0.9.
    static QByteArray FixSentences()
    {
        QByteArray nmea;
        for (const char* t : {"100500.00", "100501.00", "100502.00"}) {
            const QByteArray time(t);
            nmea +=
                Sentence("GPGGA," + time + ",3540.8741,N,13946.0275,E,1,08,0.9,40.2,M,39.0,M,,");
            nmea += Sentence("GPRMC," + time + ",A,3540.8741,N,13946.0275,E,0.0,0.0,081226,,,A");
            nmea += Sentence("GPGSA,A,3,01,02,03,04,05,06,07,08,,,,,1.8,0.9,1.5");
        }
        return nmea;
    }
    // A receiver that talks but has no fix.
    static QByteArray NoFixSentences()
    {
        QByteArray nmea;
        for (const char* t : {"100600.00", "100601.00", "100602.00"}) {
            const QByteArray time(t);
            nmea += Sentence("GPGGA," + time + ",,,,,0,00,99.9,,M,,M,,");
            nmea += Sentence("GPRMC," + time + ",V,,,,,,,081226,,,N");
        }
        return nmea;
    }

    // Starts gpsfake (and its gpsd) on this object's port, playing `nmea` over and over.
    // It is ready once a client can connect; false, with ErrorText(), when it is not.
    bool Start(const QByteArray& nmea, int timeoutMs = 30000)
    {
        Stop();
        const QString gpsfake = QStandardPaths::findExecutable(QStringLiteral("gpsfake"));
        if (gpsfake.isEmpty())
            return Fail(QStringLiteral("gpsfake is not installed (package gpsd-clients)"));
        QFile log(m_dir.filePath(QStringLiteral("sentences.nmea")));
        if (!log.open(QIODevice::WriteOnly) || log.write(nmea) != nmea.size())
            return Fail(QStringLiteral("cannot write ") + log.fileName());
        log.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), m_dir.path()); // its control socket goes here
        m_process.setProcessEnvironment(env);
        // Its own process group, so that gpsd goes with it.
        m_process.setChildProcessModifier([] { ::setsid(); });
        m_process.start(gpsfake,
                        {"-q", "-P", QString::number(m_port), "-c", "0.1", log.fileName()});
        if (!m_process.waitForStarted(timeoutMs))
            return Fail(QStringLiteral("gpsfake did not start"));
        const bool listening = QTest::qWaitFor(
            [&] {
                QTcpSocket probe;
                probe.connectToHost(QStringLiteral("127.0.0.1"), m_port);
                return probe.waitForConnected(200) || m_process.state() == QProcess::NotRunning;
            },
            timeoutMs);
        if (!listening || m_process.state() == QProcess::NotRunning)
            return Fail(QStringLiteral("gpsd did not listen on port %1").arg(m_port));
        return true;
    }

    // Stops gpsfake and its gpsd and waits until they are gone.
    void Stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        const auto group = static_cast<pid_t>(m_process.processId());
        ::kill(-group, SIGTERM);
        if (!m_process.waitForFinished(10000)) {
            ::kill(-group, SIGKILL);
            m_process.waitForFinished(10000);
        }
    }

    quint16 Port() const { return m_port; }
    QByteArray Endpoint() const { return "127.0.0.1:" + QByteArray::number(m_port); }
    QString ErrorText()
    {
        return m_error + QStringLiteral(": ") +
               QString::fromLocal8Bit(m_process.readAllStandardError());
    }

private:
    static quint16 FreePort()
    {
        QTcpServer server;
        server.listen(QHostAddress::LocalHost, 0);
        return server.serverPort();
    }
    bool Fail(const QString& why)
    {
        m_error = why;
        return false;
    }

    QTemporaryDir m_dir;
    quint16 m_port;
    QProcess m_process;
    QString m_error;
};

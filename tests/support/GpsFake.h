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
// The sentences carry the computer's time, so their fixes are as fresh as a receiver's;
// gpsfake plays them again and again. Header-only.

#include <QByteArray>
#include <QDateTime>
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
    // A 3D fix at 35.6812350 N 139.7671250 E, 40.2 m above the sea, HDOP 0.9, once a second
    // for ten minutes from now by the computer's clock (see Start), as a receiver sends it.
    static QByteArray FixSentences() { return Epochs(Fix, Moving); }
    // A receiver that talks but has no fix.
    static QByteArray NoFixSentences() { return Epochs(NoFix, Moving); }
    // A receiver stuck on its last fix, repeating it with the time it had then (now).
    static QByteArray FrozenSentences() { return Epochs(Fix, StandingStill); }

    // Starts gpsfake (and its gpsd) on this object's port, playing `nmea` over and over, one
    // epoch (two sentences) a second; several logs are as many receivers on the one gpsd.
    // It is ready once a client can connect; false, with ErrorText(), when it is not.
    bool Start(const QByteArray& nmea, int timeoutMs = 30000)
    {
        return Start(QList<QByteArray>{nmea}, timeoutMs);
    }
    bool Start(const QList<QByteArray>& logs, int timeoutMs = 30000)
    {
        Stop();
        const QString gpsfake = QStandardPaths::findExecutable(QStringLiteral("gpsfake"));
        if (gpsfake.isEmpty())
            return Fail(QStringLiteral("gpsfake is not installed (package gpsd-clients)"));
        // gpsfake plays its logs in turn, one sentence each per cycle.
        const double cycle = 0.5 / double(std::max<qsizetype>(1, logs.size()));
        QStringList arguments{"-q", "-P", QString::number(m_port), "-c", QString::number(cycle)};
        for (qsizetype i = 0; i < logs.size(); ++i) {
            QFile log(m_dir.filePath(QStringLiteral("receiver%1.nmea").arg(i)));
            if (!log.open(QIODevice::WriteOnly) || log.write(logs[i]) != logs[i].size())
                return Fail(QStringLiteral("cannot write ") + log.fileName());
            arguments << log.fileName();
        }
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TMPDIR"), m_dir.path()); // its control socket goes here
        m_process.setProcessEnvironment(env);
        // Its own process group, so that gpsd goes with it.
        m_process.setChildProcessModifier([] { ::setsid(); });
        m_process.start(gpsfake, arguments);
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
    enum Kind { Fix, NoFix };
    enum Clock { Moving, StandingStill };
    // The sentences' times start a little ahead of the computer's clock: gpsfake and its
    // gpsd take a moment to start, after which the fixes arrive as fresh as a receiver's.
    static QByteArray Epochs(Kind kind, Clock clock)
    {
        constexpr int Lead = 2, Seconds = 600;
        const QDateTime start = QDateTime::currentDateTimeUtc().addSecs(Lead);
        QByteArray nmea;
        for (int i = 0; i < Seconds; ++i) {
            const QDateTime at = clock == Moving ? start.addSecs(i) : start;
            const QByteArray time = at.toString(QStringLiteral("HHmmss.00")).toLatin1();
            const QByteArray date = at.toString(QStringLiteral("ddMMyy")).toLatin1();
            if (kind == Fix) {
                nmea += Sentence("GPGGA," + time +
                                 ",3540.8741,N,13946.0275,E,1,08,0.9,40.2,M,39.0,M,,");
                nmea += Sentence("GPRMC," + time + ",A,3540.8741,N,13946.0275,E,0.0,0.0," + date +
                                 ",,,A");
            } else {
                nmea += Sentence("GPGGA," + time + ",,,,,0,00,99.9,,M,,M,,");
                nmea += Sentence("GPRMC," + time + ",V,,,,,,," + date + ",,,N");
            }
        }
        return nmea;
    }
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

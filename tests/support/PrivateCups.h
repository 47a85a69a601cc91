#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A print server of the test's own: cupsd with a private configuration, spool, state and
// log folder, listening only on a socket in that folder, and PDF queues (cups-pdf) that
// write into private output folders. CUPS_SERVER points this process (Qt's printer
// support included) at the socket from construction on, so that before Start() there is
// no printer at all. The destructor stops cupsd and removes what it put elsewhere.
//
// cups-pdf reads the settings of queue NAME from /etc/cups/cups-pdf-NAME.conf, a path
// built into it; each queue gets such a file, named after this process, removed again.
class PrivateCups
{
public:
    PrivateCups();
    ~PrivateCups();
    PrivateCups(const PrivateCups&) = delete;
    PrivateCups& operator=(const PrivateCups&) = delete;

    // Why no private print server can run here (not root, a package missing); empty when
    // one can.
    static QString Unavailable();

    // Starts cupsd and waits until it answers. False, with ErrorText(), when it does not.
    bool Start(int timeoutMs = 20000);
    // Adds an enabled PDF queue `name` (made unique to this process: see QueueName).
    bool AddPdfQueue(const QString& name, bool makeDefault);
    QString QueueName(const QString& name) const;

    // Waits until the queue has written `count` PDF files in all and its jobs are done;
    // the one file not returned before, or empty after `timeoutMs`.
    QString WaitForPdf(const QString& name, int count, int timeoutMs = 60000);
    int PdfCount(const QString& name) const;

    QString ErrorText() const { return m_error; }

private:
    QString Folder(const QString& sub) const { return m_dir.path() + "/" + sub; }
    QString OutputFolder(const QString& name) const { return Folder("out/" + name); }
    bool Run(const QString& program, const QStringList& arguments, QString* output = nullptr);

    QTemporaryDir m_dir;
    QProcess m_cupsd;
    QStringList m_backendConfigs;
    QStringList m_seen; // PDF files WaitForPdf has returned
    QByteArray m_oldServer;
    bool m_hadServer = false;
    QString m_error;
};

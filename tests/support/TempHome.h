#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// A fresh HOME (and XDG folders) for one test, so that the user folder, fwdstr.ini,
// the data folder and ports/ links are real files that vanish afterwards.
class TempHome
{
public:
    TempHome();
    ~TempHome();
    TempHome(const TempHome&) = delete;
    TempHome& operator=(const TempHome&) = delete;

    QString Path() const { return m_dir.path(); } // no trailing "/"
    QString Documents() const { return Path() + "/Documents"; }
    QString UserFolder() const { return Documents() + "/VX-2968/"; }
    // Writes a file below the home folder, making its folders.
    void WriteFile(const QString& relativePath, const QByteArray& bytes) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_oldHome, m_oldDataHome, m_oldDataDirs, m_oldConfig;
};

#pragma once

#include "lotsession/LotSession.h"

#include <QObject>

class QFileSystemWatcher;

// Keeps watch over the files an open lot is made from: its day files, the positions files
// beside them, its tracks, and the day files' folders, where a positions file may appear or
// a file be replaced. Whatever the file system reports, and before every output, the lot
// reads its files again; a change withholds its verdict at once, as on opening.
class LotWatch : public QObject
{
    Q_OBJECT
public:
    LotWatch(LotSession& lot, QObject* parent = nullptr);
    // Watches the files the lot is made from now (none while no lot is open).
    void Follow();
    // Reads the lot's files again; Changed() when any is not as last read.
    void Check();

signals:
    void Changed();

private:
    void Rewatch();

    LotSession& m_lot;
    QFileSystemWatcher* m_watcher;
    QStringList m_files, m_folders;
};

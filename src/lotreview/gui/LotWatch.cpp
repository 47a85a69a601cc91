#include "LotWatch.h"

#include <QFileInfo>
#include <QFileSystemWatcher>

LotWatch::LotWatch(LotSession& lot, QObject* parent)
    : QObject(parent), m_lot(lot), m_watcher(new QFileSystemWatcher(this))
{
    // A file replaced by renaming another over it is no longer watched: it is watched again
    // before the lot is read.
    const auto touched = [this] {
        Rewatch();
        Check();
    };
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, touched);
    connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, touched);
}

void LotWatch::Follow()
{
    QStringList files, folders;
    if (m_lot.IsOpen())
        files = m_lot.InputFiles();
    if (!m_lot.Path().isEmpty())
        files.removeAll(m_lot.Path()); // the lot's own file is ours to write
    for (const LotDayFile& f : m_lot.Document().Files)
        if (const QString folder = QFileInfo(f.Path).absolutePath(); !folders.contains(folder))
            folders << folder;
    if (files == m_files && folders == m_folders)
        return;
    m_files = files;
    m_folders = folders;
    Rewatch();
}

void LotWatch::Rewatch()
{
    for (const QStringList& watched : {m_watcher->files(), m_watcher->directories()})
        if (!watched.isEmpty())
            m_watcher->removePaths(watched);
    QStringList there;
    for (const QString& path : m_files + m_folders)
        if (QFileInfo::exists(path))
            there << path;
    if (!there.isEmpty())
        m_watcher->addPaths(there);
}

void LotWatch::Check()
{
    if (m_lot.Reread())
        emit Changed();
}

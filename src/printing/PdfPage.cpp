#include "PdfPage.h"

#include <QFileInfo>

PdfPage::PdfPage(const QString& path) : PainterPage(m_writer), m_path(path), m_writer(path)
{
    m_writer.setResolution(Resolution);
    m_writer.setCreator(QStringLiteral("VX-2968"));
}

bool PdfPage::DeviceFailed() const
{
    // The writer does not report a write that failed half-way (a full disk); a file that
    // is missing or empty after the end is that failure.
    const QFileInfo file(m_path);
    return !file.exists() || file.size() == 0;
}

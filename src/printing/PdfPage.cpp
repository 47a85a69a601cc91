#include "PdfPage.h"

namespace
{

QIODevice* Opened(QBuffer& buffer)
{
    buffer.open(QIODevice::WriteOnly);
    return &buffer;
}

} // namespace

PdfPage::PdfPage(const QString& path, OutputRules rules)
    : PainterPage(m_writer), m_path(path), m_rules(std::move(rules)), m_writer(Opened(m_buffer))
{
    m_writer.setResolution(Resolution);
    m_writer.setCreator(QStringLiteral("VX-2968"));
}

bool PdfPage::End()
{
    if (!PainterPage::End()) {
        m_reason = Bilingual{QString::fromUtf8("ページを作れませんでした"),
                             QStringLiteral("the pages could not be made")};
        return false;
    }
    return WriteOutputFile(m_path, m_buffer.data(), m_rules, &m_reason);
}

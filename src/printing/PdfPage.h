#pragma once

#include "PainterPage.h"

#include "shell/OutputFile.h"

#include <QBuffer>
#include <QPdfWriter>

// A printout written to a PDF file: what the program does when no printer is installed,
// and what the layout tests render. The pages are drawn in memory and the file is written
// at the end, whole or not at all, by the rules of every output.
class PdfPage : public PainterPage
{
public:
    explicit PdfPage(const QString& path, OutputRules rules = {});
    QString Path() const { return m_path; }
    bool End() override;
    // Why End() failed, in words.
    const Bilingual& Reason() const { return m_reason; }

    // Fine enough that a tenth of a millimetre is several device pixels.
    static constexpr int Resolution = 1200;

private:
    QString m_path;
    OutputRules m_rules;
    QBuffer m_buffer;
    QPdfWriter m_writer;
    Bilingual m_reason;
};

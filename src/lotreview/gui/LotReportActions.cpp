#include "LotReportActions.h"

#include "LotWatch.h"

#include "lotreport/LotReportDocument.h"
#include "outputs/gui/ReviewOutput.h"
#include "shell/AppContext.h"

#include <QMenu>

LotReportActions::LotReportActions(AppContext& context, const LotSession& lot, LotWatch& watch,
                                   QWidget* parent)
    : QObject(parent), m_context(context), m_lot(lot), m_watch(watch),
      m_output(std::make_unique<ReviewOutput>(context, parent))
{
}

LotReportActions::~LotReportActions() = default;

void LotReportActions::AddTo(QMenu* file)
{
    const UiLanguage language = m_context.G.UiLanguage;
    using Write = void (ReviewOutput::*)(const ReviewDocument&);
    const auto document = [this, language](Write write) {
        return [this, write, language] {
            m_watch.Check(); // a file changed unseen withholds the verdict here too
            (m_output.get()->*write)(LotReportDocument(m_lot, m_context.Time->Now().date(),
                                                       language, m_context.G.FixedFontName));
        };
    };
    file->addAction(Tr(language, "ロットの試験報告書を PDF に保存...", "Save Lot Report as PDF..."),
                    this, document(&ReviewOutput::SaveReport));
    file->addAction(Tr(language, "ロットの試験報告書を印刷...", "Print Lot Report..."), this,
                    document(&ReviewOutput::PrintReport));
    file->addAction(Tr(language, "ロットを Excel ファイルに保存...", "Save Lot as Excel File..."),
                    this, document(&ReviewOutput::SaveWorkbook));
}

#include "LotProblemsPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

LotProblemsPanel::LotProblemsPanel(LotSession& lot, UiLanguage uiLanguage, QWidget* parent)
    : QWidget(parent), m_lot(lot), m_language(uiLanguage)
{
    m_text = new QLabel(this);
    m_text->setObjectName(QStringLiteral("Problems"));
    m_text->setWordWrap(true);
    m_text->setStyleSheet(QStringLiteral("color: #a02000"));
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_accept = Command("AcceptChanged", "変わった日のファイルを受け入れる",
                       "Accept the changed day files", [this] { m_lot.AcceptChangedDays(); });
    m_removeDays = Command("RemoveMissing", "見つからない日のファイルを外す",
                           "Remove missing day files", [this] { m_lot.RemoveMissingDays(); });
    m_removeEdits = Command("RemoveLost", "失われた編集を削除", "Remove lost edits",
                            [this] { m_lot.RemoveLostEdits(); });
    auto* commands = new QHBoxLayout;
    for (QPushButton* b : {m_accept, m_removeDays, m_removeEdits})
        commands->addWidget(b);
    commands->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_text);
    layout->addLayout(commands);
    Refresh();
}

QPushButton* LotProblemsPanel::Command(const char* name, const char* ja, const char* en,
                                       const std::function<void()>& act)
{
    auto* b = new QPushButton(Tr(m_language, ja, en), this);
    b->setObjectName(QString::fromLatin1(name));
    connect(b, &QPushButton::clicked, this, [this, act] {
        act();
        emit Changed();
    });
    return b;
}

void LotProblemsPanel::Refresh()
{
    const std::vector<Bilingual> problems = m_lot.Problems();
    QStringList lines{Tr(m_language, "判定なし: 次のことが済むまでロットは判定できません。",
                         "No verdict: the lot cannot be judged until this is settled.")};
    for (const Bilingual& p : problems)
        lines << QStringLiteral("• ") + p.Pick(m_language);
    m_text->setText(lines.join(QLatin1Char('\n')));
    m_accept->setVisible(m_lot.HasChangedDays());
    m_removeDays->setVisible(m_lot.HasMissingDays());
    m_removeEdits->setVisible(!m_lot.LostEdits().empty());
    setVisible(!problems.empty());
}

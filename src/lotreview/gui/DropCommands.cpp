#include "DropCommands.h"

#include "lotreview/LotModels.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

DropCommands::DropCommands(UiLanguage uiLanguage, QWidget* parent) : QWidget(parent)
{
    const UiLanguage lang = uiLanguage;
    const auto button = [&](const char* name, const char* ja, const char* en) {
        auto* b = new QPushButton(Tr(lang, ja, en), this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    m_reason = new QComboBox(this);
    m_reason->setObjectName(QStringLiteral("Reason"));
    for (int r = 0; r < ExclusionReasonCount; ++r)
        m_reason->addItem(ReasonText(ExclusionReason(r)).Pick(lang));
    m_reasonText = new QLineEdit(this);
    m_reasonText->setObjectName(QStringLiteral("ReasonText"));
    m_reasonText->setPlaceholderText(Tr(lang, "理由", "reason"));
    m_reasonText->setToolTip(Tr(lang, "除外の「その他」の理由、または分割・結合の理由",
                                "The reason for \"other\", or for a split or a join"));
    m_reasonText->setMinimumWidth(80);
    // A reason typed is the free text of "other".
    connect(m_reasonText, &QLineEdit::textEdited, this,
            [this] { m_reason->setCurrentIndex(int(ExclusionReason::Other)); });
    auto* legend = new QLabel(
        QStringLiteral("<span style='background-color: %1'>&nbsp;&nbsp;&nbsp;&nbsp;</span> %2")
            .arg(FarTint.name(),
                 Tr(lang, "K または E が採用打撃 (3 以上) の中央値から 20 % 超 (印のみ)",
                    "K or E over 20 % from the median of the used drops (3 or more; a mark only)")),
        this);
    legend->setWordWrap(true);

    QPushButton* split = button("Split", "ここで分割", "Split here");
    QPushButton* join = button("Join", "次の測点と結合", "Join with next");
    QPushButton* exclude = button("Exclude", "除外", "Exclude");
    QPushButton* include = button("Include", "採用", "Include");
    connect(split, &QPushButton::clicked, this,
            [this] { emit Split(m_reasonText->text().trimmed()); });
    connect(join, &QPushButton::clicked, this,
            [this] { emit Join(m_reasonText->text().trimmed()); });
    connect(include, &QPushButton::clicked, this, &DropCommands::Include);
    connect(exclude, &QPushButton::clicked, this, [this] {
        const auto reason = ExclusionReason(m_reason->currentIndex());
        emit Exclude(reason,
                     reason == ExclusionReason::Other ? m_reasonText->text().trimmed() : QString());
    });

    // One row, so that the drops keep the height: the point's edits, then the drop's.
    auto* commands = new QHBoxLayout;
    commands->addWidget(split);
    commands->addWidget(join);
    commands->addSpacing(12);
    commands->addWidget(m_reason);
    commands->addWidget(m_reasonText, 1);
    commands->addWidget(exclude);
    commands->addWidget(include);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(legend);
    layout->addLayout(commands);
}

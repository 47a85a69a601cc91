#include "frmInitial.h"

#include "logger/BalanceAndMeasNo.h"
#include "results/ResultsContext.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmInitial::frmInitial(ResultsContext& context, QWidget* parent)
    : QDialog(parent), m_choice(BalanceCancel)
{
    const BalanceCaptions& c = BalanceDialogCaptions();
    const UiLanguage lang = context.G.UiLanguage;
    setWindowTitle(c.Caption.Pick(lang));
    QFont font(context.G.UiFontName);
    font.setPointSizeF(BalanceDialogPoints);
    font.setBold(false);
    setFont(font);

    Label1 = new QLabel(c.Question.Pick(lang), this);
    Label1->setAlignment(Qt::AlignCenter);
    Command1[0] = new QPushButton(c.Cancel.Pick(lang), this);
    Command1[1] = new QPushButton(c.Ok.Pick(lang), this);
    connect(CancelButton(), &QPushButton::clicked, this, [this] {
        m_choice = BalanceCancel;
        reject();
    });
    connect(OkButton(), &QPushButton::clicked, this, [this] {
        m_choice = BalanceOk;
        accept();
    });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : Command1) {
        b->setMinimumWidth(110);
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(18);
    layout->addWidget(Label1);
    layout->addLayout(buttons);
    setMinimumWidth(320);
}

int16_t frmInitial::Ask(ResultsContext& context, QWidget* parent)
{
    frmInitial dialog(context, parent);
    dialog.exec();
    return dialog.BalanceChoice();
}

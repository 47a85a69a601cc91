#include "frmNo.h"

#include "logger/BalanceAndMeasNo.h"
#include "results/ResultsContext.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

frmNo::frmNo(ResultsContext& context, QWidget* parent) : QDialog(parent), m_context(context)
{
    Label1[0] = new QLabel(this);
    Label1[1] = new QLabel(this);
    txtNo = new QLineEdit(this);
    txtNo->setMaxLength(MeasNoMaxLength);
    txtNo->setAlignment(Qt::AlignRight);
    Command1[0] = new QPushButton(this);
    Command1[1] = new QPushButton(this);
    connect(ApplyButton(), &QPushButton::clicked, this, &frmNo::Apply);
    connect(CancelButton(), &QPushButton::clicked, this, &QDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(20, 18, 20, 14);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(16);
    grid->addWidget(Label1[0], 0, 0);
    grid->addWidget(txtNo, 0, 1);
    grid->addWidget(Label1[1], 0, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    for (QPushButton* b : Command1) {
        b->setMinimumWidth(110);
        buttons->addWidget(b);
    }
    grid->addLayout(buttons, 1, 0, 1, 3);
    SetupNoDialog();
}

void frmNo::SetupNoDialog()
{
    const MeasNoCaptions& c = MeasNoDialogCaptions();
    const UiLanguage lang = m_context.G.UiLanguage;
    setWindowTitle(c.Caption.Pick(lang));
    QFont font(m_context.G.UiFontName);
    font.setPointSizeF(MeasNoDialogPoints);
    setFont(font);
    Label1[0]->setText(c.Label.Pick(lang));
    Label1[1]->setText(c.Range.Pick(lang));
    ApplyButton()->setText(c.Apply.Pick(lang));
    CancelButton()->setText(c.Cancel.Pick(lang));
    QFont cancelFont = font;
    cancelFont.setPointSizeF(MeasNoCancelPoints(lang));
    CancelButton()->setFont(cancelFont);
    // Five digits and a little room, in the entry's own font.
    txtNo->setMinimumWidth(txtNo->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 16);

    txtNo->setText(LoadMeasNo(m_context));
    // The proposal selected as a whole: typing replaces it.
    txtNo->selectAll();
}

void frmNo::Apply()
{
    if (ApplyMeasNo(m_context, txtNo->text()) == 0)
        accept();
}

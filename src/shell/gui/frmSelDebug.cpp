#include "frmSelDebug.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

frmSelDebug::frmSelDebug(int16_t& debugMode, QWidget* parent)
    : QDialog(parent), m_debugMode(debugMode)
{
    setWindowTitle(QStringLiteral("VX-2968 Debug Mode Select"));
    auto* layout = new QVBoxLayout(this);
    chkDebug = new QCheckBox(QStringLiteral("Debug Mode"), this);
    chkDebug->setChecked(m_debugMode == 1);
    layout->addWidget(chkDebug);
    auto* buttons = new QHBoxLayout;
    cmdOk = new QPushButton(QStringLiteral("OK"), this);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);
    // Readers test for exactly 1, so OK stores 1 or 0 and nothing else.
    connect(cmdOk, &QPushButton::clicked, this, [this] {
        m_debugMode = chkDebug->isChecked() ? 1 : 0;
        accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

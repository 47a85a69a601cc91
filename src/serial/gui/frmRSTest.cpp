#include "frmRSTest.h"

#include "serial/PortSettings.h"
#include "serial/SerialContext.h"
#include "shell/Twips.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

namespace
{

QRect TwipRect(int left, int top, int width, int height)
{
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}

} // namespace

frmRSTest::frmRSTest(SerialContext& context, QWidget* parent)
    : QDialog(parent), m_context(context), m_terminal(*context.Link, *context.Messages)
{
    setWindowTitle(QStringLiteral("RS-232C Test"));
    setFont(QFont(m_context.G.UiFontName, 9));
    setFixedSize(ClientSizeOfWindow(6555, 4905, m_context.G.CaptionHeightExtra));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = rect();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }

    lblCommand = new QLabel(QStringLiteral("Command:"), this);
    lblCommand->setGeometry(TwipRect(120, 150, 1000, 330));
    txtOutput = new QLineEdit(this);
    txtOutput->setGeometry(TwipRect(1150, 120, 5160, 390));
    connect(txtOutput, &QLineEdit::returnPressed, this, &frmRSTest::CommandEntered);

    txtInput = new QPlainTextEdit(this);
    txtInput->setGeometry(TwipRect(120, 630, 6190, 3330));
    txtInput->setReadOnly(true); // the logger's words, not the operator's
    txtInput->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(7.5); // a full row of eight values fits the width
    txtInput->setFont(fixed);

    for (size_t i = 0; i < cmdPara.size(); ++i) {
        cmdPara[i] = new QPushButton(QString::fromLatin1(ParaButtons[i].Caption), this);
        cmdPara[i]->setGeometry(TwipRect(120 + int(i) * 1050, 4080, 960, 450));
        connect(cmdPara[i], &QPushButton::clicked, this, [this, i] { ParaClicked(int(i)); });
    }
    cmdEnd = new QPushButton(QStringLiteral("End"), this);
    cmdEnd->setGeometry(TwipRect(5350, 4080, 960, 450));
    connect(cmdEnd, &QPushButton::clicked, this, &QDialog::accept);
    // Enter belongs to the command field: no button may take it as the default.
    for (QPushButton* b : cmdPara)
        b->setAutoDefault(false);
    cmdEnd->setAutoDefault(false);

    ReadPortSettings(m_context.Port, m_context.G.AppFolder);
    txtOutput->clear();
    txtInput->clear();
    txtOutput->setEnabled(false);
    txtInput->setEnabled(false);
    for (QPushButton* b : cmdPara)
        b->setEnabled(false);

    m_terminal.ResponseChanged = [this] { ShowResponse(); };
    Timer1.setSingleShot(true);
    connect(&Timer1, &QTimer::timeout, this, &frmRSTest::OnTimer1);
    Timer1.start(100);
}

void frmRSTest::OnTimer1()
{
    Timer1.stop();
    if (!m_terminal.StartUp()) {
        reject();
        return;
    }
    txtOutput->setEnabled(true);
    txtInput->setEnabled(true);
    for (size_t i = 0; i < cmdPara.size(); ++i)
        cmdPara[i]->setEnabled(m_terminal.ParaEnabled()[i]);
    txtOutput->setFocus();
}

void frmRSTest::CommandEntered()
{
    if (m_terminal.Busy() || m_ended)
        return;
    txtOutput->setText(txtOutput->text().toUpper());
    txtOutput->setText(m_terminal.EnterCommand(txtOutput->text()));
    ShowResponse();
}

void frmRSTest::ParaClicked(int index)
{
    if (m_terminal.Busy() || m_ended)
        return;
    m_terminal.Para(index);
    ShowResponse();
}

void frmRSTest::ShowResponse()
{
    if (!m_ended)
        txtInput->setPlainText(DisplayText(m_terminal.Response()));
}

// Every way out (End, the close box, Escape) passes here.
void frmRSTest::done(int result)
{
    Timer1.stop();
    if (!m_ended) {
        m_ended = true;
        m_terminal.End();
    }
    QDialog::done(result);
}

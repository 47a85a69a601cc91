#pragma once

#include "serial/RSTestTerminal.h"

#include <QDialog>
#include <QTimer>
#include <array>

struct SerialContext;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The RS-232C test terminal, a service window in English: raw commands to the logger,
// binary blocks shown as a table, parameter dumps. Everything stays disabled until the
// start-up tick has reached the logger; closing it in any way closes the line.
class frmRSTest : public QDialog
{
    Q_OBJECT
public:
    explicit frmRSTest(SerialContext& context, QWidget* parent = nullptr);

    QLabel* lblCommand = nullptr;          // "Command:"
    QLineEdit* txtOutput = nullptr;        // the command typed, which goes out to the logger
    QPlainTextEdit* txtInput = nullptr;    // what came back
    std::array<QPushButton*, 5> cmdPara{}; // the parameter dumps of ParaButtons
    QPushButton* cmdEnd = nullptr;         // "End"
    QTimer Timer1;                         // the start-up tick that reaches the logger

    const RSTestTerminal& Terminal() const { return m_terminal; }

    void done(int result) override;

private:
    void OnTimer1();
    void CommandEntered();
    void ParaClicked(int index);
    void ShowResponse();

    SerialContext& m_context;
    RSTestTerminal m_terminal;
    bool m_ended = false;
};

#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

struct ResultsContext;
class QLabel;
class QPushButton;

// The balance confirmation, shown modally over the measurement screen.
class frmInitial : public QDialog
{
    Q_OBJECT
public:
    explicit frmInitial(ResultsContext& context, QWidget* parent = nullptr);

    QLabel* Label1 = nullptr;               // the question, "Balancing?"
    std::array<QPushButton*, 2> Command1{}; // 0 Cancel, 1 OK
    QPushButton* CancelButton() const { return Command1[0]; }
    QPushButton* OkButton() const { return Command1[1]; }
    // BalanceOk after OK; BalanceCancel after Cancel, Escape or the close box (closing the
    // window is no way to start a balance by accident).
    int16_t BalanceChoice() const { return m_choice; }

    // Shows the confirmation and returns the choice.
    static int16_t Ask(ResultsContext& context, QWidget* parent);

private:
    int16_t m_choice;
};

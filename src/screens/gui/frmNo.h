#pragma once

#include <QDialog>
#include <array>

struct ResultsContext;
class QLabel;
class QLineEdit;
class QPushButton;

// The measurement-number dialog: proposes the logger's number and gives a new one to
// every active channel.
class frmNo : public QDialog
{
    Q_OBJECT
public:
    explicit frmNo(ResultsContext& context, QWidget* parent = nullptr);

    std::array<QLabel*, 2> Label1{};        // "Meas. No.", the allowed range
    QLineEdit* txtNo = nullptr;             // the number, proposed and typed
    std::array<QPushButton*, 2> Command1{}; // 0 OK (applies the number), 1 Cancel
    QPushButton* ApplyButton() const { return Command1[0]; }
    QPushButton* CancelButton() const { return Command1[1]; }

    // Captions and fonts, then the proposed number.
    void SetupNoDialog();
    // The apply button: closes the dialog when the number was taken.
    void Apply();

private:
    ResultsContext& m_context;
};

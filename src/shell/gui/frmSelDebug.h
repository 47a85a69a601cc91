#pragma once

#include <QDialog>
#include <cstdint>

class QCheckBox;
class QPushButton;

// The hidden debug-mode dialog (always English).
class frmSelDebug : public QDialog
{
    Q_OBJECT
public:
    explicit frmSelDebug(int16_t& debugMode, QWidget* parent = nullptr);

    QCheckBox* chkDebug = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

private:
    int16_t& m_debugMode;
};

#pragma once

#include <QWidget>
#include <array>

struct SerialContext;
class QComboBox;
class QLabel;
class QPushButton;

// The RS-232C settings window: shows the line settings, lets the operator choose the port
// number only, and keeps the choice in fwd.rs. A Shift + right press on the note line
// opens the test terminal.
class frmRS232C : public QWidget
{
    Q_OBJECT
public:
    explicit frmRS232C(SerialContext& context, QWidget* parent = nullptr);

    // Row headings: port, speed, parity, stop bits, handshake, delimiter.
    std::array<QLabel*, 6> lblCaption{};
    QComboBox* cmbPort = nullptr; // the COM number, typed or chosen
    // Speed, parity, stop bits, handshake, delimiter.
    std::array<QLabel*, 5> lblValue{};
    QLabel* lblDevice = nullptr;        // the device the chosen number names
    QLabel* lblNote = nullptr;          // "Changeable Port No. Only"; the terminal's gesture
    QPushButton* cmdMainMenu = nullptr; // "Main Menu": stores the choice and closes

    // The hidden gesture: Shift alone with the right button opens the test terminal
    // (modal; this window hides meanwhile). Returns whether it opened.
    bool NotePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    // "Main Menu": the choice into ComPort, fwd.rs written, the window closed.
    void MainMenuClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillPortDisplay();
    void ShowDevice();

    SerialContext& m_context;
};

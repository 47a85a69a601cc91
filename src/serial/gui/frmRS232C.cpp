#include "frmRS232C.h"

#include "frmRSTest.h"
#include "serial/PortNames.h"
#include "serial/PortSettings.h"
#include "serial/SerialContext.h"
#include "shell/Bilingual.h"
#include "shell/Twips.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

namespace
{

constexpr int Left = 360;
constexpr int Top = 300;
constexpr int RowStep = 600;
constexpr int RowHeight = 450;
constexpr int ValueLeft = 2900;
constexpr int ValueWidth = 1500;
constexpr int DeviceLeft = 4550;
constexpr int DeviceWidth = 2700;

QRect TwipRect(int left, int top, int width, int height)
{
    return QRect(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                 TwipsToPixels(height));
}

} // namespace

frmRS232C::frmRS232C(SerialContext& context, QWidget* parent) : QWidget(parent), m_context(context)
{
    const Globals& g = m_context.G;
    const UiLanguage lang = g.UiLanguage;
    setWindowTitle(Tr(lang, "RS-232C設定", "Setting RS-232C"));
    setFont(QFont(g.UiFontName, 9));
    // The rows, the note and the button, below a caption.
    setFixedSize(
        ClientSizeOfWindow(7500, Top + 6 * RowStep + 1500 + CaptionTwips, g.CaptionHeightExtra));
    const QFont large(g.UiFontName, 14);

    const char* ja[] = {"ポート番号",     "ボーレート",     "パリティ",
                        "ストップビット", "ハンドシェーク", "デリミタ"};
    const char* en[] = {"Port No.",  "Baud rate",   "Parity Bits",
                        "Stop Bits", "Handshaking", "Delimiter"};
    for (int row = 0; row < 6; ++row) {
        lblCaption[row] = new QLabel(Tr(lang, ja[row], en[row]), this);
        lblCaption[row]->setFont(large);
        lblCaption[row]->setGeometry(TwipRect(Left, Top + row * RowStep, 2400, RowHeight));
    }
    cmbPort = new QComboBox(this);
    cmbPort->setEditable(true);
    cmbPort->setInsertPolicy(QComboBox::NoInsert); // typing a number adds no choice
    cmbPort->setFont(large);
    cmbPort->setGeometry(TwipRect(ValueLeft, Top - 30, ValueWidth, RowHeight + 60));
    for (int i = 0; i < 5; ++i) {
        lblValue[i] = new QLabel(this);
        lblValue[i]->setFont(large);
        lblValue[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        lblValue[i]->setGeometry(
            TwipRect(ValueLeft, Top + (i + 1) * RowStep, ValueWidth, RowHeight));
    }
    lblDevice = new QLabel(this);
    lblDevice->setGeometry(TwipRect(DeviceLeft, Top - 120, DeviceWidth, RowHeight + 240));
    lblDevice->setWordWrap(true);

    lblNote =
        new QLabel(Tr(lang, "ポート番号のみ変更可能です。", "Changeable Port No. Only"), this);
    lblNote->setFont(large);
    lblNote->setGeometry(TwipRect(Left, Top + 6 * RowStep + 60, 6800, RowHeight));
    lblNote->installEventFilter(this);

    cmdMainMenu = new QPushButton(Tr(lang, "メインメニュー", "Main Menu"), this);
    cmdMainMenu->setFont(large);
    cmdMainMenu->setGeometry(TwipRect(2450, Top + 6 * RowStep + 720, 2600, 540));
    connect(cmdMainMenu, &QPushButton::clicked, this, &frmRS232C::MainMenuClicked);

    // Enter moves on as Tab does, wherever the focus is.
    for (QWidget* w : {static_cast<QWidget*>(cmbPort), static_cast<QWidget*>(cmbPort->lineEdit()),
                       static_cast<QWidget*>(cmdMainMenu)})
        w->installEventFilter(this);
    connect(cmbPort, &QComboBox::editTextChanged, this, &frmRS232C::ShowDevice);

    EnumerateSerialPorts(m_context.Ports, m_context.UserFolder);
    ReadPortSettings(m_context.Port, g.AppFolder);
    FillPortDisplay();
}

void frmRS232C::FillPortDisplay()
{
    const PortSettings& port = m_context.Port;
    const PortInventory& ports = m_context.Ports;
    cmbPort->clear();
    for (int i = 0; i < ports.PortCount; ++i)
        cmbPort->addItem(QString::number(ports.PortList[size_t(i)]));
    cmbPort->setEditText(QString::number(port.ComPort));
    lblValue[0]->setText(BaudRateText(port.BaudRate));
    lblValue[1]->setText(ParityText(port.ParityCode, m_context.G.UiLanguage));
    lblValue[2]->setText(StopBitsText(port.StopBits));
    lblValue[3]->setText(HandshakeText(port.HandshakeCode));
    lblValue[4]->setText(DelimiterDisplayText(port.DelimiterCode));
    ShowDevice();
}

void frmRS232C::ShowDevice()
{
    lblDevice->setText(
        ComChoiceText(cmbPort->currentText(), m_context.UserFolder, m_context.G.UiLanguage));
}

void frmRS232C::MainMenuClicked()
{
    ApplyPortChoice(m_context.Port, cmbPort->currentText());
    // A file that cannot be written is reported; the choice still holds for this run.
    if (m_context.Messages)
        WritePortSettings(m_context.Port, m_context.G.AppFolder, *m_context.Messages);
    close();
}

bool frmRS232C::NotePressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    const Qt::KeyboardModifiers held =
        modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (button != Qt::RightButton || held != Qt::ShiftModifier || !m_context.Link ||
        !m_context.Messages)
        return false;
    hide();
    {
        frmRSTest terminal(m_context, this);
        terminal.exec();
    }
    show();
    activateWindow();
    return true;
}

bool frmRS232C::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lblNote && event->type() == QEvent::MouseButtonPress) {
        // The terminal's event loop starts once the press is over, not inside it: a loop run
        // from within a press keeps that button held for every window until it ends, and the
        // terminal's own buttons would not answer.
        const auto* press = static_cast<QMouseEvent*>(event);
        QTimer::singleShot(0, this, [this, button = press->button(), held = press->modifiers()] {
            NotePressed(button, held);
        });
        return true;
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

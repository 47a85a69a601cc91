#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>

struct AppContext;
class QLabel;
class QPushButton;

// The home screen, open for the whole run; closing it releases the serial line (releaseLink).
// Other screens hide it and it shows itself again when they close.
class frmMainMenu : public QWidget
{
    Q_OBJECT
public:
    // Opens a screen and returns it; the menu hides while it lives. Null: not offered.
    using ScreenOpener = std::function<QWidget*(AppContext&)>;

    frmMainMenu(AppContext& context, ScreenOpener openMeasurement, ScreenOpener openPortSettings,
                std::function<void()> releaseLink = {}, QWidget* parent = nullptr);

    // The three buttons: "Measure", "Setting RS-232C", "End Program".
    std::array<QPushButton*, 3> cmdMenu{};
    QLabel* picBanner = nullptr; // the banner across the top
    QLabel* imgLogo = nullptr;   // the logo; a double click opens the version window
    QPushButton* MeasureButton() const { return cmdMenu[0]; }
    QPushButton* PortSettingsButton() const { return cmdMenu[1]; }
    QPushButton* EndProgramButton() const { return cmdMenu[2]; }
    int WaitTicks() const { return m_waitTicks; }
    int BannerDraws() const { return m_bannerDraws; }
    // The hidden gesture: the debug dialog opens for DebugGestureButton with Shift, Ctrl
    // and Alt all held. Returns whether it opened (the dialog itself is modal).
    bool BackgroundPressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers);
    // Shows `screen` in place of the menu until it is closed or destroyed.
    void ShowScreen(QWidget* screen);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void StartBannerTimer();
    void OnWaitTimer();

    AppContext& m_context;
    ScreenOpener m_openMeasurement;
    ScreenOpener m_openPortSettings;
    std::function<void()> m_releaseLink;
    QTimer m_waitTimer;
    QPixmap m_banner;
    int m_waitTicks = 0;
    int m_bannerDraws = 0;
};

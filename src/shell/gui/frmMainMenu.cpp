#include "frmMainMenu.h"

#include "frmAbout.h"
#include "frmSelDebug.h"
#include "shell/AppContext.h"
#include "shell/Bilingual.h"
#include "shell/Twips.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>

// The pictures are compiled into a static library, whose resource initialiser the
// linker would otherwise drop.
static void LoadPictures()
{
    Q_INIT_RESOURCE(assets);
}

frmMainMenu::frmMainMenu(AppContext& context, ScreenOpener openMeasurement,
                         ScreenOpener openPortSettings, std::function<void()> releaseLink,
                         QWidget* parent)
    : QWidget(parent), m_context(context), m_openMeasurement(std::move(openMeasurement)),
      m_openPortSettings(std::move(openPortSettings)), m_releaseLink(std::move(releaseLink))
{
    LoadPictures();
    const Globals& g = m_context.G;
    const UiLanguage lang = g.UiLanguage;
    setFixedSize(ClientSizeOfWindow(3100, 3120, g.CaptionHeightExtra));
    setWindowTitle(Tr(lang, " メインメニュー", " Main Menu") + QString(12, ' ') +
                   QStringLiteral("VX-2968"));
    setFont(QFont(g.UiFontName, 9));

    picBanner = new QLabel(this);
    picBanner->setGeometry(TwipsToPixels(120), TwipsToPixels(60), TwipsToPixels(2730),
                           TwipsToPixels(270));
    m_banner.load(QStringLiteral(":/banner.png"));

    const char* ja[] = {"計　　　　測", "ＲＳ－２３２Ｃ", "終　　　　了"};
    const char* en[] = {"Measure", "Setting RS-232C", "End Program"};
    for (int i = 0; i < 3; ++i) {
        cmdMenu[i] = new QPushButton(Tr(lang, ja[i], en[i]), this);
        cmdMenu[i]->setFont(QFont(g.UiFontName, 14));
        cmdMenu[i]->setGeometry(TwipsToPixels(300), TwipsToPixels(480 + i * 600),
                                TwipsToPixels(2500), TwipsToPixels(495));
    }
    MeasureButton()->setEnabled(bool(m_openMeasurement));
    PortSettingsButton()->setEnabled(bool(m_openPortSettings));
    connect(MeasureButton(), &QPushButton::clicked, this,
            [this] { ShowScreen(m_openMeasurement(m_context)); });
    connect(PortSettingsButton(), &QPushButton::clicked, this,
            [this] { ShowScreen(m_openPortSettings(m_context)); });
    connect(EndProgramButton(), &QPushButton::clicked, this, &QWidget::close);

    imgLogo = new QLabel(this);
    const QPixmap logo(QStringLiteral(":/logo.png"));
    const QSize size(qRound(logo.width() * 0.12), qRound(logo.height() * 0.12));
    imgLogo->setPixmap(logo.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    imgLogo->setGeometry(TwipsToPixels(250), TwipsToPixels(2300), size.width(), size.height());
    imgLogo->installEventFilter(this);

    m_waitTimer.setSingleShot(true);
    connect(&m_waitTimer, &QTimer::timeout, this, &frmMainMenu::OnWaitTimer);
    StartBannerTimer();
}

void frmMainMenu::StartBannerTimer()
{
    m_waitTicks = 0;
    m_waitTimer.start(100);
}

void frmMainMenu::OnWaitTimer()
{
    m_waitTimer.stop();
    picBanner->clear();
    picBanner->setPixmap(
        m_banner.scaled(picBanner->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    ++m_bannerDraws;
    ++m_waitTicks;
}

void frmMainMenu::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        StartBannerTimer();
    QWidget::changeEvent(event);
}

bool frmMainMenu::BackgroundPressed(Qt::MouseButton button, Qt::KeyboardModifiers modifiers)
{
    const Qt::MouseButton gesture =
        m_context.G.DebugGestureButton == 2 ? Qt::RightButton : Qt::MiddleButton;
    const Qt::KeyboardModifiers all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    if (button != gesture || (modifiers & all) != all)
        return false;
    frmSelDebug dialog(m_context.G.DebugMode, this);
    dialog.exec();
    return true;
}

void frmMainMenu::mousePressEvent(QMouseEvent* event)
{
    // The banner and the logo pass presses on to the window (or let them through), and a
    // press on them is no press on the background: only bare background counts.
    const QPoint at = event->position().toPoint();
    for (const QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isVisible() && child->geometry().contains(at))
            return;
    }
    BackgroundPressed(event->button(), event->modifiers());
}

bool frmMainMenu::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == imgLogo && event->type() == QEvent::MouseButtonDblClick) {
        frmAbout about(m_context.G, this);
        about.exec();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmMainMenu::ShowScreen(QWidget* screen)
{
    if (!screen)
        return;
    screen->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<frmMainMenu> self(this);
    connect(screen, &QObject::destroyed, this, [self] {
        if (self) {
            self->show();
            self->activateWindow();
            self->StartBannerTimer();
        }
    });
    hide();
    screen->show();
}

void frmMainMenu::closeEvent(QCloseEvent* event)
{
    if (m_releaseLink) // ending the program releases the serial port
        m_releaseLink();
    event->accept();
}

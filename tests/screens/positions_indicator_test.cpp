// The GPS indicator on the real measurement screen of a laptop's 1366 x 768 display, in
// both languages and in every state it shows: whole, in the captions' size where it fits,
// on its colour, and over no control. With VX_SCREENSHOTS=FOLDER (run under xvfb-run with
// QT_QPA_PLATFORM=xcb) it saves the screen in each language, for a person to look at.
#include "Press.h"
#include "ScreenDay.h"
#include "SimProcess.h"
#include "WaitFor.h"
#include "screens/gui/PositionsIndicator.h"
#include "screens/gui/frmMemoryCardData2.h"
#include "serial/QSerialLink.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QPushButton>
#include <QTemporaryFile>
#include <gtest/gtest.h>

namespace
{

static QTemporaryFile LaptopScreen;
[[maybe_unused]] const bool OnALaptopScreen = [] {
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!(platform.isEmpty() || platform == "offscreen") || !LaptopScreen.open())
        return false;
    LaptopScreen.write(R"({"screens": [{"name": "vx", "x": 0, "y": 0, "width": 1366,
        "height": 768, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    LaptopScreen.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + LaptopScreen.fileName().toLocal8Bit());
    return true;
}();

class FixedFix : public FixSource
{
public:
    FixStatus Status() const override { return Now; }
    FixStatus Now;
};

ReceiverStatus Receiver(FixStanding standing)
{
    ReceiverStatus r{"/dev/ttyUSB0", 3};
    r.Standing = standing;
    return r;
}

TEST(PositionsIndicatorOnTheScreen, ReadsWholeOnItsColourAndCoversNoControlInEitherLanguage)
{
    const DropFix fix{{35.0, 139.0}, 40.2, true, 17.1, 0.6, "/dev/ttyUSB0"};
    const struct {
        const char* Case;
        FixStatus Status;
        IndicatorTone Tone;
        bool CannotWrite = false;
    } states[] = {
        {"a fix", {true, true, {Receiver(FixStanding::Current)}, fix}, IndicatorTone::Fix},
        {"an old fix", {true, true, {Receiver(FixStanding::StandsStill)}}, IndicatorTone::OldFix},
        {"clocks apart", {true, true, {Receiver(FixStanding::ClockApart)}}, IndicatorTone::OldFix},
        {"no fix", {true, true, {Receiver(FixStanding::NoFix)}}, IndicatorTone::None},
        {"gpsd gone", {true, false, {Receiver(FixStanding::StandsStill)}}, IndicatorTone::None},
        {"the file cannot be written",
         {true, true, {Receiver(FixStanding::Current)}, fix},
         IndicatorTone::None,
         true},
    };
    for (const UiLanguage language : {UiLanguage::English, UiLanguage::Japanese}) {
        SCOPED_TRACE(language == UiLanguage::Japanese ? "Japanese" : "English");
        ScreenDay<> day(language);
        SimProcess sim;
        ASSERT_TRUE(sim.Start({"--com", "1", "--channels", "1,2", "--no-pace"}))
            << sim.ErrorText().toStdString();
        QSerialLink line(day.context.Port, day.context.UserFolder, day.messages);
        day.context.Link = &line;
        FixedFix fixes;
        fixes.Now = states[0].Status;
        PositionsRecorder recorder(fixes);
        day.context.Positions = &recorder;
        auto* screen = new frmMemoryCardData2(day.context);
        screen->show();
        ASSERT_TRUE(WaitFor([&] { return screen->cmdMeasure->isVisible(); }));
        PositionsIndicator* indicator = screen->lblPositions;
        const QFont caption = screen->Label2[1]->font();
        for (const auto& state : states) {
            SCOPED_TRACE(state.Case);
            fixes.Now = state.Status;
            if (state.CannotWrite) {
                QDir().mkpath(day.context.G.DataFolder + "20240501.pos");
                recorder.Record(day.TodaysFile(), "1", "2024/05/01 09:30:15");
            }
            indicator->Refresh();
            ASSERT_TRUE(indicator->isVisible());
            EXPECT_EQ(indicator->Tone(), state.Tone);
            EXPECT_LE(QFontMetrics(indicator->font()).horizontalAdvance(indicator->text()),
                      indicator->width())
                << indicator->text().toStdString() << " is cut";
            EXPECT_GE(indicator->font().pointSizeF(), caption.pointSizeF() - 3)
                << indicator->text().toStdString() << " made too small to read";
            EXPECT_TRUE(screen->rect().contains(indicator->geometry()));
            for (QWidget* control : screen->findChildren<QWidget*>()) {
                const bool isControl = qobject_cast<QAbstractButton*>(control) ||
                                       qobject_cast<QAbstractItemView*>(control);
                if (isControl && control->isVisible() && control->parentWidget() == screen) {
                    EXPECT_FALSE(control->geometry().intersects(indicator->geometry()))
                        << DescribeWidget(control).toStdString();
                    CentreInWindow(control);
                }
            }
        }
        // Beside its caption in the caption's size, while its text fits.
        fixes.Now = states[0].Status;
        day.context.Positions = nullptr;
        PositionsRecorder fresh(fixes);
        day.context.Positions = &fresh;
        indicator->Refresh();
        EXPECT_EQ(indicator->font().pointSizeF(), caption.pointSizeF());
        if (const QString folder = qEnvironmentVariable("VX_SCREENSHOTS"); !folder.isEmpty())
            screen->grab().save(folder +
                                (language == UiLanguage::Japanese ? "/gps-ja.png" : "/gps-en.png"));
        delete screen;
    }
}

} // namespace

// The RS-232C test terminal window driven like an operator would, on the real serial line
// to the logger simulator over a pty.
#include "Press.h"
#include "SimProcess.h"
#include "TempHome.h"
#include "WaitFor.h"
#include "serial/QSerialLink.h"
#include "serial/gui/frmRSTest.h"
#include "shell/AppContext.h"
#include "shell/Twips.h"
#include "shell/gui/QtMessageSink.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace
{

// Channel 1 at rest reads 256 exactly, so that a recorded block begins with known words.
QStringList QuietLogger()
{
    return {"--channels", "1,2",   "--noise", "0",         "--offset",
            "1=256",      "--mry", "16",      "--mry-pre", "12"};
}

class TerminalOnSimulator : public ::testing::Test
{
protected:
    void Start(QStringList options, int16_t language = 1)
    {
        options << "--com"
                << "1";
        ASSERT_TRUE(m_sim.Start(options)) << m_sim.ErrorText().toStdString();
        m_context.G.UiLanguage = language;
        InitGlobalValues(m_context.G);
        m_context.G.AppFolder = m_home.Path() + "/";
        m_context.UserFolder = m_home.UserFolder();
        m_messages = std::make_unique<QtMessageSink>(language);
        m_link = std::make_unique<QSerialLink>(m_context.Port, m_context.UserFolder, *m_messages);
        m_context.Link = m_link.get();
        m_context.Messages = m_messages.get();
        m_window = std::make_unique<frmRSTest>(m_context);
        m_window->show();
    }

    bool Ready()
    {
        return WaitFor([&] { return m_window->txtOutput->isEnabled(); }, 15000);
    }

    void Type(const QString& text)
    {
        m_window->txtOutput->clear();
        FocusOn(m_window->txtOutput);
        TypeText(text);
        TypeKey(Qt::Key_Return);
    }

    QString Area() const { return m_window->txtInput->toPlainText(); }

    // The commands that reached the simulator after the first `skip`.
    QStringList CommandsAfter(qsizetype skip) const { return m_sim.Commands().mid(skip); }

    // Arms CH1, drops the weight and polls until `samples` are recorded.
    void Record(const QString& samples)
    {
        for (const char* cmd : {"set1", "dtg"})
            Type(cmd);
        ASSERT_TRUE(m_sim.Control("drop"));
        for (int i = 0; i < 200 && Area() != "EOC\n" + samples + "\n"; ++i)
            Type("eoc");
        ASSERT_EQ(Area(), "EOC\n" + samples + "\n");
    }

    TempHome m_home;
    SimProcess m_sim;
    AppContext m_context;
    std::unique_ptr<QtMessageSink> m_messages;
    std::unique_ptr<QSerialLink> m_link;
    std::unique_ptr<frmRSTest> m_window;
};

} // namespace

TEST_F(TerminalOnSimulator, BdtDumpsTheRecordedBlockAsATableAndRefusesWhatItCannotHold)
{
    Start(QuietLogger() << "--no-pace");
    ASSERT_TRUE(Ready());
    Record("16");
    Type("res");
    Type("set1");
    Type("bdt10");
    EXPECT_EQ(m_sim.Replies().last().toLower(), QString("\\x01\\x00").repeated(10)); // 20 bytes
    const QStringList lines = Area().split('\n');
    ASSERT_EQ(lines.size(), 6) << Area().toStdString();
    EXPECT_EQ(lines.mid(0, 4),
              (QStringList{"BDT10", "", "000000  " + QString("   256 ").repeated(8),
                           "000008  " + QString("   256 ").repeated(2)}));
    EXPECT_TRUE(lines[4].endsWith("Sec")) << lines[4].toStdString();

    ASSERT_TRUE(m_sim.Control("fault garble BDT*")); // nine bytes instead of twenty
    Type("bdt10");
    EXPECT_EQ(Area(), QStringLiteral("BDT10\n")); // nothing added for a block cut short
    EXPECT_EQ(m_link->State().BinaryMode, 0);
    Type("rng?"); // back in text reception
    EXPECT_EQ(Area(), QStringLiteral("RNG?\n1000\n"));

    const qsizetype before = m_sim.Commands().size();
    for (const char* cmd : {"bdt", "bdt0", "bdt1002", "bdtten"}) { // refused, nothing sent
        Type(cmd);
        EXPECT_TRUE(Area().contains("Nothing was sent")) << cmd;
    }
    EXPECT_TRUE(CommandsAfter(before).isEmpty());
}

TEST_F(TerminalOnSimulator, TheLongestBlockArrivesWholeAtLineSpeed)
{
    Start(QuietLogger() << "--pace"
                        << "--mry"
                        << "1001"
                        << "--mry-pre"
                        << "1000");
    ASSERT_TRUE(Ready());
    Record("1001");
    Type("bdt1001"); // 2002 bytes, a little over two seconds at 9600 bit/s
    const QStringList lines = Area().split('\n');
    ASSERT_EQ(lines.size(), 2 + 126 + 2) << Area().left(200).toStdString();
    EXPECT_EQ(lines[127], "001000  " + QString("   256 ")) << lines[127].toStdString();
}

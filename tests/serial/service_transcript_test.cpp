// The service transcript on real files: what a line says, the poll folded, the bound of
// the rotation.
#include "ScriptedLink.h"
#include "serial/TranscriptLink.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace
{

class Transcribed : public testing::Test
{
protected:
    QStringList Lines(const QString& name = "line.log") const
    {
        QFile file(dir.filePath("service/" + name));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        // Durations depend on the machine; everything else must be exact.
        return QString::fromUtf8(file.readAll())
            .remove(QRegularExpression(", \\d+ ms$", QRegularExpression::MultilineOption))
            .split('\n', Qt::SkipEmptyParts);
    }

    QTemporaryDir dir;
    FixedClock clock{QDateTime(QDate(2024, 5, 1), QTime(9, 0))};
    RecordingMessages shown;
    ScriptedLink* line = nullptr;
    TranscriptLink link{dir.path() + "/service/",
                        clock,
                        [] { return QStringLiteral("COM1"); },
                        shown,
                        UiLanguage::English,
                        [this](MessageSink&) {
                            auto l = std::make_unique<ScriptedLink>();
                            line = l.get();
                            return l;
                        }};
};

TEST_F(Transcribed, EscapesWhatIsNotPrintableAndKeepsEveryOtherCharacter)
{
    EXPECT_EQ(EscapeLineText(QString::fromLatin1("+1\r\n\0\x7f\x80\xa5\xff \"q\" \\", 15)),
              R"(+1\r\n\x00\x7f\x80\xa5\xff \"q\" \\)");
}

TEST_F(Transcribed, FoldsAPollThatRepeatsButNeverTwoDifferentErrors)
{
    line->OnSequence("MDT", {"+000001", "-000000", "+000047"});
    line->OnSequence("RES", {"ERR-031", "ERR-002"});
    auto at = [&](int second, const QString& cmd) {
        clock.Set(QDateTime(QDate(2024, 5, 1), QTime(9, 0, second)));
        link.RSCom(cmd);
    };
    at(0, "MDT"), at(1, "MDT"), at(2, "MDT");
    at(3, "RES"), at(4, "RES");
    line->Silent("MDT");
    at(5, "MDT"), at(6, "MDT");
    link.Messages().Show({Both("Communication"), Both("No answer.\nCheck the cable.")});
    EXPECT_EQ(
        Lines(),
        (QStringList{
            R"(2024-05-01T09:00:00.000 COM1 "MDT" -> "+000001\r\n" status 9)",
            R"(2024-05-01T09:00:02.000 COM1 "MDT" repeated 2 more times, last -> "+000047\r\n" status 9)",
            R"(2024-05-01T09:00:03.000 COM1 "RES" -> "ERR-031\r\n" status -1 (error reply))",
            R"(2024-05-01T09:00:04.000 COM1 "RES" -> "ERR-002\r\n" status -1 (error reply))",
            R"(2024-05-01T09:00:05.000 COM1 "MDT" -> "" status -2 (no reply))",
            R"(2024-05-01T09:00:06.000 COM1 "MDT" repeated 1 more times, last -> "" status -2 (no reply))",
            R"(2024-05-01T09:00:06.000 message "Communication" "No answer.\nCheck the cable.")"}));
    EXPECT_EQ(shown.Shown.size(), 1u); // recorded, and still shown
}

TEST_F(Transcribed, RotatesAtTwoMegabytesAndKeepsFourOldFiles)
{
    line->Otherwise = [](const QString&) { return QString(4000, 'R'); };
    const int exchanges = 3000; // some 12 MB, so that the oldest fall away
    for (int n = 0; n < exchanges; ++n)
        link.RSCom(QStringLiteral("C%1").arg(n));
    const QStringList files = QDir(dir.filePath("service")).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(files,
              (QStringList{"line.log", "line.log.1", "line.log.2", "line.log.3", "line.log.4"}));
    constexpr qint64 MB = 1024 * 1024;
    qint64 total = 0;
    for (const QString& f : files) {
        const qint64 size = QFileInfo(dir.filePath("service/" + f)).size();
        EXPECT_LE(size, 2 * MB) << f.toStdString();
        total += size;
    }
    EXPECT_LE(total, 10 * MB);
    EXPECT_GT(total, 8 * MB);
    // Newest last in line.log, and each old file ends where the newer one begins.
    EXPECT_TRUE(Lines().last().contains(QStringLiteral("\"C%1\"").arg(exchanges - 1)));
    auto number = [](const QString& l) { return l.section('"', 1, 1).mid(1).toInt(); };
    for (int n = 1; n <= 4; ++n) {
        const QString newer = n == 1 ? "line.log" : QStringLiteral("line.log.%1").arg(n - 1);
        EXPECT_EQ(number(Lines(QStringLiteral("line.log.%1").arg(n)).last()) + 1,
                  number(Lines(newer).first()));
    }
}

} // namespace

#pragma once

// Day files made by the measurement program's own writer, for the review tests and
// the bench.

#include "record/LoggerSettings.h"
#include "record/ResultComputation.h"
#include "results/ResultsFile.h"
#include "shell/Formatting.h"

#include <QDir>
#include <QFile>

// CH1, CH2 and, with `extra`, CH3 and CH4; 300 mm plate, ratio 0.35, Burmister.
inline LoggerSettings FixtureSettings(bool extra)
{
    LoggerSettings s;
    s.PlateDiameter = 300;
    s.PoissonRatio = 0.35;
    s.CalcType = CalcTypeBurmister;
    s.MaxChannel = extra ? 4 : 2;
    for (int ch = 1; ch <= s.MaxChannel; ++ch)
        s.Channel[ch].Active = true;
    return s;
}

// Result i of a day: loads and displacements that vary a little, as a day's drops do.
inline ResultEntry FixtureResult(int i, const QDate& day, UiLanguage language,
                                 const LoggerSettings& s)
{
    ResultEntry e;
    e.No = FormatNumber(i + 1, NoFormat);
    e.DateTime = FormatDateTimeText(QDateTime(day, QTime(8, 0).addSecs(i * 20)), language);
    e.Answer.fill(-1.0);
    e.Answer[1] = 30000 + (i * 37) % 1000;
    e.Answer[2] = 1.0 + (i % 7) * 0.01;
    for (int ch = 3; ch <= s.MaxChannel; ++ch)
        e.Answer[ch] = 0.5 / (ch - 2) + (i % 5) * 0.001;
    e.K = CalcK(e.Answer[1], e.Answer[2], s.PlateDiameter);
    e.E = CalcE(e.Answer[1], e.Answer[2], s.PlateDiameter, s.PoissonRatio, s.CalcType);
    return e;
}

inline QByteArray FixtureDayBytes(int results, const QDate& day, UiLanguage language, bool extra)
{
    const LoggerSettings s = FixtureSettings(extra);
    QString text = FileHeaderLine1(s) + "\r\n" + FileHeaderLine2(s, language) + "\r\n";
    for (int i = 0; i < results; ++i)
        text += ResultLine(FixtureResult(i, day, language, s), s) + "\r\n";
    return EncodeFileText(text, "CP932").value_or(QByteArray());
}

inline bool WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

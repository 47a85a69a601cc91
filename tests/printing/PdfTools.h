#pragma once

// Reading back printed PDF files with poppler's tools, as a person checking a printout
// with a ruler would.

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <vector>

namespace pdftools
{

inline constexpr double PointsPerMm = 72.0 / 25.4;

inline QString RunTool(const QString& program, const QStringList& args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QString();
    return QString::fromUtf8(p.readAllStandardOutput());
}

struct Word {
    QString Text;
    double XMin = 0, YMin = 0, XMax = 0, YMax = 0; // points
};

// The words of a page with their boxes, as pdftotext places them.
inline std::vector<Word> WordsOf(const QString& pdf, int page = 1)
{
    const QString n = QString::number(page);
    const QString html = RunTool("pdftotext", {"-bbox", "-f", n, "-l", n, pdf, "-"});
    static const QRegularExpression word(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    std::vector<Word> words;
    for (auto it = word.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        words.push_back({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(),
                         m.captured(3).toDouble(), m.captured(4).toDouble()});
    }
    return words;
}

// The nth word `text` of a page; null when there is none.
inline const Word* Find(const std::vector<Word>& words, const QString& text, int nth = 0)
{
    for (const Word& w : words) {
        if (w.Text == text && nth-- == 0)
            return &w;
    }
    return nullptr;
}

// Width and height of the first page in whole points ("595 x 842" for A4 portrait).
inline QString PageSize(const QString& pdf)
{
    const QString info = RunTool("pdfinfo", {pdf});
    const auto m = QRegularExpression(R"(Page size:\s+([\d.]+) x ([\d.]+))").match(info);
    if (!m.hasMatch())
        return QString();
    return QStringLiteral("%1 x %2")
        .arg(qRound(m.captured(1).toDouble()))
        .arg(qRound(m.captured(2).toDouble()));
}

} // namespace pdftools

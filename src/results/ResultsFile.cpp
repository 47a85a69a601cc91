#include "ResultsFile.h"

#include "DurableAppend.h"
#include "ResultsContext.h"

#include "shell/FileLookup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <deque>
#include <functional>
#include <optional>

namespace
{

const QString LineEnd = QStringLiteral("\r\n");
const QString Comma = QStringLiteral(",");

UiMessage CannotOpenMessage(const QString& path)
{
    // The same text in both languages, as the operators have always been shown it.
    const QString text = QString::fromUtf8("ファイル ") + QDir::toNativeSeparators(path) +
                         QString::fromUtf8(" を開けません!!") + LineEnd +
                         QString::fromUtf8("ファイルを閉じて、[再試行]キーを押してください。");
    return UiMessage{Both(QString()), Both(text), MessageButtons::RetryCancel, MessageIcon::None};
}

UiMessage CannotEncodeMessage(const QString& path, const QByteArray& encoding)
{
    const QString name = QDir::toNativeSeparators(path);
    const QString codec = QString::fromLatin1(encoding);
    return UiMessage{
        {QString::fromUtf8("ファイル書き込みエラー"), QStringLiteral("File Write Error")},
        {QString::fromUtf8("ファイル ") + name + QString::fromUtf8(" に書き込めません。") +
             LineEnd + QString::fromUtf8("文字コード ") + codec +
             QString::fromUtf8(" で書けない文字があります。結果は画面に残っています。"),
         QStringLiteral("Cannot write the file ") + name + QLatin1Char('.') + LineEnd +
             QStringLiteral("Some characters cannot be written in the encoding ") + codec +
             QStringLiteral(". The result stays on the screen.")},
        MessageButtons::Ok,
        MessageIcon::Exclamation};
}

UiMessage FormatErrorMessage(const QString& path)
{
    const QString name = QDir::toNativeSeparators(path);
    // "igbored" is the message as operators and their manuals have always known it: kept.
    return UiMessage{
        {QString::fromUtf8("フォーマットエラー"), QStringLiteral("File Format ERROR!")},
        {QString::fromUtf8("指定したファイル ") + name +
             QString::fromUtf8(" のフォーマットが間違っています"),
         QStringLiteral("Specified File ") + name + QStringLiteral(" is igbored file format.")},
        MessageButtons::Ok,
        MessageIcon::None};
}

// The data folder the daily files live in: the one made at start-up, ending in "/".
QString ResultsFolder(const ResultsContext& context)
{
    if (!context.G.DataFolder.trimmed().isEmpty())
        return context.G.DataFolder.trimmed();
    return FindIgnoringCase(context.UserFolder, QStringLiteral("data")) + QLatin1Char('/');
}

} // namespace

AppendOutcome AppendResult(ResultsContext& context, const ResultEntry& entry, QString* written)
{
    const QString path = DailyFilePath(ResultsFolder(context), context.Time->Now().date());
    if (written)
        *written = path;
    DurableAppend file;
    auto retried = [&](const std::function<bool()>& step) {
        while (!step()) {
            if (context.Messages->Show(CannotOpenMessage(path)) != MessageAnswer::Retry)
                return false;
        }
        return true;
    };
    if (!retried([&] { return file.Open(path); }))
        return AppendOutcome::Cancelled;

    QString text;
    if (file.WasEmpty())
        text = FileHeaderLine1(context.Logger) + LineEnd +
               FileHeaderLine2(context.Logger, context.G.UiLanguage) + LineEnd;
    else if (file.EndsInsideLine())
        text = LineEnd; // never glue the result onto a line someone left unfinished
    text += ResultLine(entry, context.Logger) + LineEnd;
    const std::optional<QByteArray> encoded = EncodeFileText(text, context.FileEncoding);
    if (!encoded) {
        file.Abandon(); // a file made just now goes again
        context.Messages->Show(CannotEncodeMessage(path, context.FileEncoding));
        return AppendOutcome::Cancelled;
    }
    const QByteArray& bytes = *encoded;

    if (!retried([&] { return file.Write(bytes); }) ||
        !retried([&] { return file.SyncAndClose(); })) {
        file.Abandon();
        return AppendOutcome::Cancelled;
    }
    return AppendOutcome::Written;
}

int32_t ReadResultsFile(ResultsContext& context, const QString& path, int32_t* displayColumns)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray bytes = file.readAll();
    file.close();
    if (bytes.isEmpty())
        return 0; // a file made but never written: no results yet

    const QString text = DecodeFileText(bytes);
    const QList<QStringView> lines = FileLines(text);
    QStringList items;
    if (SplitFields(lines.at(0).toString(), Comma, items, FileFieldCapacity) < 0) {
        context.Messages->Show(FormatErrorMessage(path));
        return -1;
    }
    const FileHeader header = ParseFileHeader(items);
    if (header.HasDiameter)
        context.Logger.PlateDiameter = header.Diameter;
    if (header.HasPoisson)
        context.Logger.PoissonRatio = header.Poisson;

    const int32_t keep = KeptResults(context.G.MaxResults);
    std::deque<ResultEntry> latest;
    int32_t columns = displayColumns ? *displayColumns : 2;
    for (int i = 2; i < lines.size(); ++i) {
        ResultLineParts parts;
        if (ReadResultLine(lines.at(i), context.G.UiLanguage, &parts) != LineFault::None)
            continue; // a line that is not a result is skipped, the rest still counts
        latest.push_back(parts.Entry);
        if (int32_t(latest.size()) > keep)
            latest.pop_front();
        const int upper = int(parts.Fields.size()) - 1;
        if (upper > 5)
            columns = std::max(columns, upper - 3);
    }
    for (size_t i = 0; i < latest.size(); ++i)
        context.Results.Entries[i] = latest[i];
    if (displayColumns)
        *displayColumns = columns;
    return static_cast<int32_t>(latest.size());
}

int32_t LoadTodaysResults(ResultsContext& context, int32_t* displayColumns)
{
    context.DailyFile = DailyFilePath(ResultsFolder(context), context.Time->Now().date());
    context.Results.ResultCount = 0;
    if (!QFileInfo(context.DailyFile).isFile())
        return 0;
    const int32_t count = ReadResultsFile(context, context.DailyFile, displayColumns);
    if (count > 0)
        context.Results.ResultCount = count;
    return context.Results.ResultCount;
}

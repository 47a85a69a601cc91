#include "ResultsText.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <iconv.h>

#include <algorithm>
#include <cstdint>

namespace
{

// `bytes` from one encoding to another with glibc's iconv; nothing when iconv knows either
// not, or a character has no place in `to`.
std::optional<QByteArray> ConvertWithIconv(const QByteArray& bytes, const char* from,
                                           const char* to)
{
    const iconv_t cd = iconv_open(to, from);
    if (reinterpret_cast<std::uintptr_t>(cd) == std::uintptr_t(-1)) // iconv's (iconv_t) -1
        return std::nullopt;
    QByteArray in = bytes;
    QByteArray out(4 * in.size() + 4, '\0'); // UTF-8 takes at most 4 bytes a character
    char* inAt = in.data();
    char* outAt = out.data();
    size_t inLeft = size_t(in.size());
    size_t outLeft = size_t(out.size());
    const size_t irreversible = iconv(cd, &inAt, &inLeft, &outAt, &outLeft);
    iconv_close(cd);
    if (irreversible != 0 || inLeft != 0)
        return std::nullopt;
    out.truncate(out.size() - qsizetype(outLeft));
    return out;
}

} // namespace

std::optional<QByteArray> EncodeFileText(const QString& text, const QByteArray& encoding,
                                         FileEncoder encoder)
{
    if (encoder == FileEncoder::Qt) {
        QStringEncoder qt(encoding.constData());
        if (qt.isValid()) {
            QByteArray bytes = qt.encode(text);
            return qt.hasError() ? std::nullopt : std::optional<QByteArray>(bytes);
        }
    }
    const QByteArray utf8 = text.toUtf8();
    if (const std::optional<QByteArray> bytes =
            ConvertWithIconv(utf8, "UTF-8", encoding.constData())) {
        // glibc writes a few characters as look-alikes (the yen sign as a backslash): what
        // does not read back as it was is not held, just as Qt's encoder refuses it.
        const std::optional<QByteArray> back =
            ConvertWithIconv(*bytes, encoding.constData(), "UTF-8");
        return back == utf8 ? bytes : std::nullopt;
    }
    // ASCII is the same in every encoding the files were ever read with.
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
    return ascii ? std::optional<QByteArray>(text.toLatin1()) : std::nullopt;
}

QString DecodeFileText(const QByteArray& bytes)
{
    QStringDecoder decoder("CP932");
    if (!decoder.isValid())
        return QString::fromLatin1(bytes);
    return decoder.decode(bytes);
}

QList<QStringView> FileLines(QStringView text)
{
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            continue;
        lines.append(text.sliced(start, i - start));
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    lines.append(text.sliced(start));
    return lines;
}

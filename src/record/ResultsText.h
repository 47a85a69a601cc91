#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

// The daily files' text encoding, CP932: what the operators' spreadsheets read.

// Who writes the daily files' encoding: Qt where it has an encoder for it, else glibc's iconv
// (a Qt built without ICU has no CP932; every glibc has). Both give the same bytes.
enum class FileEncoder { Qt, Iconv };
// The text of the file in `encoding` (the daily files' CP932). Nothing when a character
// cannot be held in it (it is never written as "?" or as a look-alike that reads back as
// another), or when neither encoder knows `encoding` and the text is not plain ASCII.
std::optional<QByteArray> EncodeFileText(const QString& text, const QByteArray& encoding,
                                         FileEncoder encoder = FileEncoder::Qt);
QString DecodeFileText(const QByteArray& bytes);

// The lines of a file whatever ends them: CR LF (the program's own), LF, or a lone CR (an
// editor of another system), so that a day saved by one is not read as a single line.
QList<QStringView> FileLines(QStringView text);

#pragma once

#include "shell/Bilingual.h"
#include "shell/MessageSink.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class PrintPage;

// A day's or a lot's report and workbook as the output commands need them: whether there
// is anything to put out, where its files are offered, which files it is made from (never
// written over), and how it is drawn and written. It refers to the day or lot it was made
// from and is used at once.
struct ReviewDocument {
    std::optional<UiMessage> Empty; // set: nothing to put out, and the message that says so
    QString SuggestedStem;          // folder and name, without the suffix
    QString PrintName;              // the printer job's name
    QStringList Inputs;
    std::function<bool(PrintPage& page)> Print;
    std::function<bool(const QString& path, Bilingual* reason)> WriteWorkbook;
};

#pragma once

#include "shell/Bilingual.h"

#include <QDialog>

struct Globals;
class QLabel;

// The version window: name, version and build date of the program.
class frmAbout : public QDialog
{
    Q_OBJECT
public:
    explicit frmAbout(const Globals& g, QWidget* parent = nullptr);

    static QString VersionText();
    // The build date of the version record, yyyymmdd, in the language's order.
    static QString CreateDateText(UiLanguage language);

    QLabel* NameValue = nullptr;
    QLabel* VersionValue = nullptr;
    QLabel* DateValue = nullptr;
};

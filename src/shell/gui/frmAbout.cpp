#include "frmAbout.h"

#include "shell/Bilingual.h"
#include "shell/Globals.h"
#include "shell/Twips.h"
#include "shell/Version.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

QString frmAbout::VersionText()
{
    return QStringLiteral("%1.%2.%3")
        .arg(Version::Major)
        .arg(Version::Minor)
        .arg(Version::Revision);
}

QString frmAbout::CreateDateText(UiLanguage language)
{
    const QString description = QString::fromLatin1(Version::FileDescription);
    const QString date = description.right(8);
    const QString y = date.left(4), m = date.mid(4, 2), d = date.mid(6, 2);
    return language == UiLanguage::Japanese ? y + "/" + m + "/" + d : m + "/" + d + "/" + y;
}

frmAbout::frmAbout(const Globals& g, QWidget* parent) : QDialog(parent)
{
    const UiLanguage lang = g.UiLanguage;
    setWindowTitle(g.Japanese() ? QString::fromUtf8(" バージョン") + QString(8, ' ') + g.AppTitle
                                : QStringLiteral(" Version") + QString(5, ' ') + g.AppTitle);
    setFont(QFont(g.UiFontName, 9));
    const QFont headingFont(g.UiFontName, 12);

    auto* grid = new QGridLayout(this);
    const char* headingsJa[] = {"ソフト名称", "バージョン", "作成日"};
    const char* headingsEn[] = {"Name", "Version", "Create Date"};
    QLabel** values[] = {&NameValue, &VersionValue, &DateValue};
    const QString texts[] = {QString::fromLatin1(Version::Comment), VersionText(),
                             CreateDateText(lang)};
    for (int i = 0; i < 3; ++i) {
        auto* heading = new QLabel(Tr(lang, headingsJa[i], headingsEn[i]), this);
        heading->setFont(headingFont);
        *values[i] = new QLabel(texts[i], this);
        (*values[i])->setFont(headingFont);
        grid->addWidget(heading, i, 0);
        grid->addWidget(*values[i], i, 1);
    }
    auto* close = new QPushButton(Tr(lang, "メインメニュー", "Main Menu"), this);
    close->setFont(QFont(g.UiFontName, 14));
    grid->addWidget(close, 3, 0, 1, 2, Qt::AlignHCenter);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    setMinimumWidth(TwipsToPixels(4800));
}

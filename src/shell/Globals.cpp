#include "Globals.h"

#include "Version.h"

void InitGlobalValues(Globals& g)
{
    if (g.Japanese()) {
        g.UiFontName = QString::fromUtf8("ＭＳ Ｐ明朝");
        g.FixedFontName = QString::fromUtf8("ＭＳ 明朝");
        g.AppTitle = QString::fromUtf8("QL-860H用データ収録ソフトウェア  VX-2968");
    } else {
        g.UiFontName = QStringLiteral("Times New Roman");
        g.FixedFontName = QStringLiteral("Times New Roman");
        g.AppTitle = QString::fromLatin1(Version::Comment);
    }
    g.TabSeparator = QStringLiteral("\t");
    g.DebugGestureButton = 4;
    g.PrintMargins.fill(6.0f);
    g.MaxResults = 10;
    g.KValueDisplay = {"0", "MN/m3", "MN/m3"};
    g.EModulusDisplay = {"0", "MN/m2", "MN/m2"};
    g.ChannelDisplay[0] = {"0", "N", "kN"};
    for (int i = 1; i < 6; ++i)
        g.ChannelDisplay[i] = {"0.000", "mm", "m"};
}

void ResetFontSpecs(Globals& g)
{
    g.LargeFontSpec = FontSpec{g.UiFontName, 12.0, false, false, false, false, true};
    g.SmallFontSpec = FontSpec{g.FixedFontName, 10.0, false, false, false, false, true};
}

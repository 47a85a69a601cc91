#pragma once

#include "lot/LotFile.h"
#include "shell/Bilingual.h"

#include <QString>
#include <QStringView>

// Minutes east of UTC of "+09:00", "-03:30" or "+00:00" (a sign, two digits of hours, a
// colon, two of minutes); false, with what is wrong, for anything else.
bool ReadUtcOffset(QStringView text, int* minutes, Bilingual* problem);
// As ReadUtcOffset reads it: "+09:00", "-03:30", "+00:00".
QString UtcOffsetText(int minutes);

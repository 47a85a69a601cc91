#pragma once

#include "lot/LotFile.h"

#include <QString>

// The office's last choices for its lots, kept in the user folder (review.ini) so that the
// next new lot starts as the last one was judged: how points are formed (gap, seating
// drops), the requirement, the rule and its k; and the folder of the last lot file, where
// the next open or save starts. A first lot ever, or a value out of the window's range in
// the file, takes the program's defaults.
class LotPreferences
{
public:
    explicit LotPreferences(const QString& userFolder);

    PointRules Rules() const;
    LotJudgement Judgement() const;
    void Remember(const PointRules& rules, const LotJudgement& judgement) const;

    // Empty before the first lot file is opened or saved.
    QString LastFolder() const;
    void RememberLotFile(const QString& path) const;

private:
    QString m_file;
};

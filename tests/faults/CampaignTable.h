#pragma once

// The table of a fault campaign: one row per scenario, printed as it completes and again
// as a whole when the executable ends, so that a run's log shows what the operator saw
// and how long the program took to be usable again.
#include <QString>
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

struct CampaignRow {
    QString Scenario;
    QString Stage;
    QString Seen;    // the message shown, or what the operator sees instead
    qint64 UsableMs; // from the fault striking to a usable program
    QString Results; // the results file before and after
};

class CampaignTable : public testing::Environment
{
public:
    static CampaignTable& Instance()
    {
        static CampaignTable* table = [] {
            auto* t = new CampaignTable;
            testing::AddGlobalTestEnvironment(t); // owned by GoogleTest from here on
            return t;
        }();
        return *table;
    }

    void Add(const CampaignRow& row)
    {
        m_rows.push_back(row);
        std::printf("CAMPAIGN | %s\n", Line(row).toUtf8().constData());
        std::fflush(stdout);
    }

    void TearDown() override
    {
        std::printf("\nCAMPAIGN TABLE\n| scenario | stage | operator saw | usable after (ms) | "
                    "results before / after |\n|---|---|---|---|---|\n");
        for (const CampaignRow& row : m_rows)
            std::printf("| %s |\n", Line(row).toUtf8().constData());
        std::fflush(stdout);
    }

private:
    static QString Line(const CampaignRow& row)
    {
        QString seen = row.Seen;
        seen.replace(QLatin1String("\r\n"), QLatin1String(" / "));
        return QStringLiteral("%1 | %2 | %3 | %4 | %5")
            .arg(row.Scenario, row.Stage, seen, QString::number(row.UsableMs), row.Results);
    }

    std::vector<CampaignRow> m_rows;
};

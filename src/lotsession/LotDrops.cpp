#include "LotDrops.h"

#include <QCryptographicHash>

QStringList DropDigests(const DayFile& day)
{
    QStringList digests;
    digests.reserve(qsizetype(day.Rows.size()));
    for (const ReviewRow& row : day.Rows) {
        const ResultEntry& e = row.Entry;
        const QString values =
            QStringList{
                row.When.toString(Qt::ISODate),        QString::number(e.Answer[1], 'g', 17),
                QString::number(e.Answer[2], 'g', 17), QString::number(e.K, 'g', 17),
                QString::number(e.E, 'g', 17),         row.CalcType}
                .join(QLatin1Char('|'));
        const QByteArray hash =
            QCryptographicHash::hash(values.toUtf8(), QCryptographicHash::Sha256).toHex().left(8);
        digests << e.No + QLatin1Char(' ') + QString::fromLatin1(hash);
    }
    return digests;
}

void AppendLotDrops(const DayFile& day, int file, std::vector<LotDrop>* drops)
{
    // No reserve here: growing by each day's rows exactly would copy every drop of the lot
    // again for every day added, where the vector's own doubling copies each once or twice.
    for (const ReviewRow& row : day.Rows) {
        const ResultEntry& e = row.Entry;
        drops->push_back(LotDrop{file, row.LineNumber, e.No, row.When, e.Answer[1], e.Answer[2],
                                 e.K, e.E, CalcTypeOfCode(row.CalcType)});
    }
}

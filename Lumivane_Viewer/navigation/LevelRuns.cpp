#include "LevelRuns.h"

#include <QSet>

namespace {

QString canonicalLevel(const QString &level)
{
    return level.normalized(QString::NormalizationForm_C);
}

} // namespace

QString levelText(const Station &station)
{
    return station.level.value_or(QString());
}

bool isSameLevel(const QString &left, const QString &right)
{
    return left == right || canonicalLevel(left) == canonicalLevel(right);
}

QList<LevelRun> levelRuns(const QList<Station> &stations)
{
    QList<LevelRun> runs;
    for (qsizetype index = 0; index < stations.size(); ++index) {
        const QString level = levelText(stations[index]);
        if (!runs.isEmpty() && isSameLevel(runs.back().level, level))
            ++runs.back().count;
        else
            runs.append(LevelRun{level, index, 1});
    }
    return runs;
}

bool hasMultipleLevels(const QList<Station> &stations)
{
    QSet<QString> levels;
    for (const Station &station : stations) {
        levels.insert(canonicalLevel(levelText(station)));
        if (levels.size() > 1)
            return true;
    }
    return false;
}

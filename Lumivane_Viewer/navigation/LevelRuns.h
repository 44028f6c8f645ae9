#pragma once

#include "model/Station.h"

#include <QList>
#include <QString>

/// A station's level as the strip and the floor plan compare it: its level
/// as stored, or the empty text when it has none.
QString levelText(const Station &station);

/// Whether two level texts are the same level: canonically equivalent texts
/// (a precomposed "é" and "e" with its combining accent) are equal; nothing
/// is trimmed and case counts.
bool isSameLevel(const QString &left, const QString &right);

/// A stretch of consecutive stations on the same level: `count` stations of
/// the list from index `first`.
struct LevelRun
{
    QString level;
    qsizetype first = 0;
    qsizetype count = 0;

    bool operator==(const LevelRun &) const = default;
};

/// The stations in the order given, cut wherever the level changes: one
/// level that comes back after another gives a run of its own each time.
QList<LevelRun> levelRuns(const QList<Station> &stations);

/// Whether the stations lie on more than one distinct level (no level is
/// the empty level).
bool hasMultipleLevels(const QList<Station> &stations);

#pragma once

#include <QHashFunctions>
#include <QString>
#include <QUuid>

/// One row of the information panel: an emoji icon, a label and a value, all
/// shown verbatim. Every row built gets a fresh id, so rows of two builds of
/// the same project never compare equal.
struct LumivaneInfoItem
{
    QUuid id;
    QString icon;
    QString label;
    QString value;

    bool operator==(const LumivaneInfoItem &) const = default;
};

inline size_t qHash(const LumivaneInfoItem &item, size_t seed = 0)
{
    return qHashMulti(seed, item.id, item.icon, item.label, item.value);
}

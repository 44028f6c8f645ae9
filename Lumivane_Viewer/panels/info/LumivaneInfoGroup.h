#pragma once

#include "LumivaneInfoItem.h"

#include <QList>

/// One titled section of the information panel; never empty once built.
struct LumivaneInfoGroup
{
    QUuid id;
    QString title;
    QList<LumivaneInfoItem> items;

    bool operator==(const LumivaneInfoGroup &) const = default;
};

inline size_t qHash(const LumivaneInfoGroup &group, size_t seed = 0)
{
    seed = qHashMulti(seed, group.id, group.title, group.items.size());
    for (const LumivaneInfoItem &item : group.items)
        seed = qHash(item, seed);
    return seed;
}

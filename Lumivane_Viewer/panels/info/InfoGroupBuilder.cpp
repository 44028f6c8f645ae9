#include "InfoGroupBuilder.h"

#include "InfoValueFormat.h"

#include "model/EnumDisplayNames.h"

using Key = L10n::Key;

namespace {

constexpr QStringView squareMetres = u"m²";
constexpr QStringView euros = u"€";
// Fixed French in every interface language.
constexpr QStringView eurosPerMonth = u"€/mois";

// Collects the rows of one group; the group exists only if a row was added.
class GroupBuilder
{
public:
    GroupBuilder(const L10n &l10n, const QLocale &locale, Key title)
        : m_l10n(l10n)
        , m_locale(locale)
        , m_title(title)
    {
    }

    void add(QStringView icon, Key label, const std::optional<QString> &value)
    {
        if (value)
            m_items.append({QUuid::createUuid(), icon.toString(), m_l10n.text(label), *value});
    }

    void addText(QStringView icon, Key label, const std::optional<QString> &text)
    {
        add(icon, label, text && !text->isEmpty() ? text : std::nullopt);
    }

    void addInteger(QStringView icon, Key label, std::optional<qint64> value, QStringView unit = {})
    {
        add(icon, label, formatGroupedInteger(value, unit, m_locale));
    }

    void addDecimal(QStringView icon, Key label, std::optional<double> value, QStringView unit)
    {
        add(icon, label, formatDecimalValue(value, unit));
    }

    void addPersons(QStringView icon, Key label, std::optional<qint64> value)
    {
        if (auto number = formatGroupedInteger(value, {}, m_locale))
            add(icon, label, *number + QLatin1Char(' ') + m_l10n.text(Key::infoValuePersons));
    }

    // A switch shows only when it is on.
    void addSwitch(QStringView icon, Key label, std::optional<bool> on, Key valueKey = Key::yes)
    {
        if (on.value_or(false))
            add(icon, label, m_l10n.text(valueKey));
    }

    void addCustomRow(const CustomField &field)
    {
        QString value = field.value;
        if (field.type == CustomFieldType::boolean)
            value = m_l10n.text(field.value == QLatin1String("true") ? Key::yes : Key::no);
        m_items.append({QUuid::createUuid(), QStringLiteral(u"✳️"), field.name, value});
    }

    void appendTo(QList<LumivaneInfoGroup> &groups)
    {
        if (!m_items.isEmpty())
            groups.append({QUuid::createUuid(), m_l10n.text(m_title), std::move(m_items)});
    }

private:
    const L10n &m_l10n;
    const QLocale &m_locale;
    Key m_title;
    QList<LumivaneInfoItem> m_items;
};

template<typename Enum>
std::optional<QString> caseName(const std::optional<Enum> &value, const L10n &l10n)
{
    return value ? std::optional(displayName(*value, l10n)) : std::nullopt;
}

std::optional<QString> energyLetter(const std::optional<EnergyClass> &value)
{
    return value ? std::optional(QString(rawValue(*value))) : std::nullopt;
}

// A year reads as a year: digits without a group separator.
std::optional<QString> yearText(std::optional<qint64> year)
{
    return year ? std::optional(QString::number(*year)) : std::nullopt;
}

std::optional<QString> joinedTags(const std::optional<QStringList> &tags)
{
    return tags && !tags->isEmpty() ? std::optional(tags->join(QStringLiteral(", "))) : std::nullopt;
}

void addCharacteristics(GroupBuilder &group, const LumivaneProject &p)
{
    group.addDecimal(u"📐", Key::infoLabelSurface, p.area, squareMetres);
    group.addInteger(u"🚪", Key::infoLabelRooms, p.roomCount);
    group.addInteger(u"🏢", Key::infoLabelFloors, p.floors);
    group.addPersons(u"👥", Key::infoLabelCapacity, p.capacity);
    group.add(u"🏗", Key::infoLabelYearBuilt, yearText(p.yearBuilt));
}

void addResidential(GroupBuilder &group, const LumivaneProject &p, const L10n &l10n)
{
    group.add(u"🔑", Key::infoLabelTransaction, caseName(p.transactionType, l10n));
    group.addInteger(u"💰", Key::infoLabelPrice, p.price, euros);
    group.addInteger(u"🏷", Key::infoLabelRent, p.monthlyRent, eurosPerMonth);
    group.addInteger(u"💸", Key::infoLabelCharges, p.charges, eurosPerMonth);
    group.addInteger(u"🛏", Key::infoLabelBedrooms, p.bedroomsCount);
    group.addInteger(u"🛁", Key::infoLabelBathrooms, p.bathroomsCount);
    group.addInteger(u"🏢", Key::infoLabelFloor, p.floorNumber);
    group.addDecimal(u"🌿", Key::infoLabelBalconyTerrace, p.balconyArea, squareMetres);
}

void addEquipment(GroupBuilder &group, const LumivaneProject &p)
{
    group.addSwitch(u"🚗", Key::infoLabelParking, p.hasParking);
    group.addSwitch(u"📦", Key::infoLabelCellar, p.hasCellar);
    group.addSwitch(u"🛗", Key::infoLabelElevator, p.hasElevator);
    group.addSwitch(u"🏊", Key::infoLabelPool, p.hasPool);
    group.addSwitch(u"🌳", Key::infoLabelGarden, p.hasGarden);
    group.addSwitch(u"🪑", Key::infoLabelFurnished, p.isFurnished);
}

void addDiagnostics(GroupBuilder &group, const LumivaneProject &p)
{
    group.add(u"⚡", Key::infoLabelDPE, energyLetter(p.energyClass));
    group.add(u"🌱", Key::infoLabelGES, energyLetter(p.greenhouseClass));
}

void addMandate(GroupBuilder &group, const LumivaneProject &p, const L10n &l10n)
{
    group.addText(u"📋", Key::infoLabelMandateRef, p.mandateReference);
    group.add(u"📄", Key::infoLabelMandateType, caseName(p.mandateType, l10n));
    group.addText(u"🏷", Key::infoLabelInternalRef, p.internalReference);
}

void addCulture(GroupBuilder &group, const LumivaneProject &p)
{
    group.addText(u"🖼", Key::infoLabelCollection, p.collectionType);
    group.addText(u"🏛", Key::infoLabelPeriod, p.historicalPeriod);
    group.addText(u"👥", Key::infoLabelAudience, p.targetAudience);
    group.addText(u"🕒", Key::infoLabelOpeningHours, p.openingHours);
    group.addText(u"🎟", Key::infoLabelEntry, p.entryPrice);
    group.addSwitch(u"♿", Key::infoLabelPMR, p.accessibilityPMR);
}

void addEvents(GroupBuilder &group, const LumivaneProject &p)
{
    group.addPersons(u"💺", Key::infoLabelSeatedCapacity, p.seatedCapacity);
    group.addPersons(u"🧍", Key::infoLabelStandingCapacity, p.standingCapacity);
    group.addText(u"🎤", Key::infoLabelAVEquipment, p.audioVideoEquipment);
    group.addSwitch(u"🍽", Key::infoLabelCatering, p.cateringAvailable, Key::infoValueAvailable);
    group.addText(u"🎉", Key::infoLabelEventType, p.eventType);
    group.addInteger(u"💰", Key::infoLabelDailyRentalPrice, p.dailyRentalPrice, euros);
}

void addEducation(GroupBuilder &group, const LumivaneProject &p)
{
    group.addText(u"🎓", Key::infoLabelSchoolLevel, p.educationLevel);
    group.addInteger(u"👥", Key::infoLabelStudents, p.studentCount);
    group.addText(u"📚", Key::infoLabelPrograms, p.specializations);
    group.addInteger(u"🏫", Key::infoLabelBuildings, p.buildingCount);
}

void addNotes(GroupBuilder &group, const LumivaneProject &p)
{
    group.add(u"🏷", Key::infoLabelTags, joinedTags(p.tags));
    group.addText(u"📝", Key::infoLabelNote, p.freeNote);
}

} // namespace

QList<LumivaneInfoGroup> buildInfoGroups(const LumivaneProject &project, const L10n &l10n, const QLocale &locale)
{
    QList<LumivaneInfoGroup> groups;
    auto build = [&](Key title, const auto &fill) {
        GroupBuilder group(l10n, locale, title);
        fill(group);
        group.appendTo(groups);
    };
    build(Key::infoGroupCharacteristics, [&](GroupBuilder &g) { addCharacteristics(g, project); });
    build(Key::infoGroupResidential, [&](GroupBuilder &g) { addResidential(g, project, l10n); });
    build(Key::infoGroupEquipment, [&](GroupBuilder &g) { addEquipment(g, project); });
    build(Key::infoGroupDiagnostics, [&](GroupBuilder &g) { addDiagnostics(g, project); });
    build(Key::infoGroupMandate, [&](GroupBuilder &g) { addMandate(g, project, l10n); });
    build(Key::infoGroupCulture, [&](GroupBuilder &g) { addCulture(g, project); });
    build(Key::infoGroupEvents, [&](GroupBuilder &g) { addEvents(g, project); });
    build(Key::infoGroupEducation, [&](GroupBuilder &g) { addEducation(g, project); });
    build(Key::infoGroupNotes, [&](GroupBuilder &g) { addNotes(g, project); });
    build(Key::infoGroupCustom, [&](GroupBuilder &g) {
        for (const CustomField &field : project.customFields)
            g.addCustomRow(field);
    });
    return groups;
}

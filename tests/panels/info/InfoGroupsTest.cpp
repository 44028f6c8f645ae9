#include "panels/info/InfoGroupBuilder.h"

#include "tests/support/TemporarySettings.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using Edit = std::function<void(LumivaneProject &)>;

// The one row a project edit should give, as the English panel shows it.
struct RowCase
{
    const char *name;
    Edit edit;
    const char *group; // empty when the edit gives no row at all
    const char *icon = "";
    const char *label = "";
    const char *value = "";
};

class InfoGroupsFixture
{
protected:
    InfoGroupsFixture() { m_l10n.setCurrent(L10n::Language::english); }

    QList<LumivaneInfoGroup> build(const Edit &edit) const
    {
        LumivaneProject project;
        edit(project);
        return buildInfoGroups(project, m_l10n, m_locale);
    }

    TemporarySettings m_settings;
    L10n m_l10n{QStringList{}};
    QLocale m_locale{QLocale::French, QLocale::France};
};

class InfoRow : public InfoGroupsFixture, public ::testing::TestWithParam<RowCase>
{
};

TEST_P(InfoRow, showsPerPresenceRule)
{
    const RowCase &c = GetParam();
    const QList<LumivaneInfoGroup> groups = build(c.edit);
    if (QByteArrayView(c.group).isEmpty()) {
        EXPECT_TRUE(groups.isEmpty()) << groups.first().items.first().label.toStdString();
        return;
    }
    ASSERT_EQ(groups.size(), 1);
    EXPECT_EQ(groups[0].title, QString::fromUtf8(c.group));
    ASSERT_EQ(groups[0].items.size(), 1);
    const LumivaneInfoItem &item = groups[0].items[0];
    EXPECT_EQ(item.icon, QString::fromUtf8(c.icon));
    EXPECT_EQ(item.label, QString::fromUtf8(c.label));
    EXPECT_EQ(item.value, QString::fromUtf8(c.value));
}

std::string caseName(const ::testing::TestParamInfo<RowCase> &info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Numbers, InfoRow, ::testing::Values(
    RowCase{"areaWhole", [](auto &p) { p.area = 120.0; }, "Features", "📐", "Area", "120 m²"},
    RowCase{"areaFractional", [](auto &p) { p.area = 85.5; }, "Features", "📐", "Area", "85.5 m²"},
    RowCase{"areaZero", [](auto &p) { p.area = 0.0; }, "Features", "📐", "Area", "0 m²"},
    RowCase{"areaBeyondInt64", [](auto &p) { p.area = 1e19; }, "Features", "📐", "Area",
            "10000000000000000000.0 m²"},
    RowCase{"rooms", [](auto &p) { p.roomCount = 12000; }, "Features", "🚪", "Rooms", "12 000"},
    RowCase{"capacity", [](auto &p) { p.capacity = 40; }, "Features", "👥", "Capacity", "40 ppl."},
    RowCase{"capacityGrouped", [](auto &p) { p.capacity = 1500; }, "Features", "👥", "Capacity", "1 500 ppl."},
    // A year is not a quantity: no group separator.
    RowCase{"yearBuilt", [](auto &p) { p.yearBuilt = 1985; }, "Features", "🏗", "Year built", "1985"},
    RowCase{"priceZero", [](auto &p) { p.price = 0; }, "Residential", "💰", "Price", "0 €"},
    RowCase{"price", [](auto &p) { p.price = 250000; }, "Residential", "💰", "Price", "250 000 €"},
    RowCase{"rentInFrench", [](auto &p) { p.monthlyRent = 1200; }, "Residential", "🏷", "Rent", "1 200 €/mois"},
    RowCase{"charges", [](auto &p) { p.charges = 80; }, "Residential", "💸", "Fees", "80 €/mois"},
    RowCase{"balcony", [](auto &p) { p.balconyArea = 7.25; }, "Residential", "🌿", "Balcony/Terrace", "7.2 m²"},
    RowCase{"negativeFloor", [](auto &p) { p.floorNumber = -1; }, "Residential", "🏢", "Floor", "-1"},
    RowCase{"standing", [](auto &p) { p.standingCapacity = 0; }, "Events", "🧍", "Standing capacity", "0 ppl."},
    RowCase{"dailyPrice", [](auto &p) { p.dailyRentalPrice = 3500; }, "Events", "💰", "Daily rental price",
            "3 500 €"},
    RowCase{"students", [](auto &p) { p.studentCount = 640; }, "Education", "👥", "Students", "640"}),
    caseName);

INSTANTIATE_TEST_SUITE_P(TextsAndChoices, InfoRow, ::testing::Values(
    RowCase{"emptyText", [](auto &p) { p.mandateReference = QString(); }, ""},
    // No trimming: blanks count as a value.
    RowCase{"blankText", [](auto &p) { p.mandateReference = QStringLiteral("  "); }, "Mandate", "📋", "Listing ref.",
            "  "},
    RowCase{"entryStaysText", [](auto &p) { p.entryPrice = QStringLiteral("12"); }, "Culture & Heritage", "🎟",
            "Entry", "12"},
    RowCase{"transaction", [](auto &p) { p.transactionType = TransactionType::seasonalRental; }, "Residential",
            "🔑", "Transaction", "Short-term rental"},
    RowCase{"mandateType", [](auto &p) { p.mandateType = MandateType::coExclusive; }, "Mandate", "📄",
            "Listing type", "Co-exclusive"},
    RowCase{"energy", [](auto &p) { p.energyClass = EnergyClass::c; }, "Diagnostics", "⚡", "EPC", "C"},
    RowCase{"greenhouse", [](auto &p) { p.greenhouseClass = EnergyClass::g; }, "Diagnostics", "🌱", "GHG", "G"},
    RowCase{"tags", [](auto &p) { p.tags = QStringList{"loft", "", "view"}; }, "Notes", "🏷", "Tags",
            "loft, , view"},
    RowCase{"oneEmptyTag", [](auto &p) { p.tags = QStringList{""}; }, "Notes", "🏷", "Tags", ""},
    RowCase{"noTags", [](auto &p) { p.tags = QStringList{}; }, ""},
    RowCase{"note", [](auto &p) { p.freeNote = QStringLiteral("Sunny"); }, "Notes", "📝", "Note", "Sunny"}),
    caseName);

INSTANTIATE_TEST_SUITE_P(Switches, InfoRow, ::testing::Values(
    RowCase{"parkingOn", [](auto &p) { p.hasParking = true; }, "Equipment", "🚗", "Parking", "Yes"},
    RowCase{"parkingOff", [](auto &p) { p.hasParking = false; }, ""},
    RowCase{"furnished", [](auto &p) { p.isFurnished = true; }, "Equipment", "🪑", "Furnished", "Yes"},
    RowCase{"pmr", [](auto &p) { p.accessibilityPMR = true; }, "Culture & Heritage", "♿", "Wheelchair access",
            "Yes"},
    RowCase{"catering", [](auto &p) { p.cateringAvailable = true; }, "Events", "🍽", "Catering", "Available"},
    RowCase{"cateringOff", [](auto &p) { p.cateringAvailable = false; }, ""}),
    caseName);

INSTANTIATE_TEST_SUITE_P(CustomFields, InfoRow, ::testing::Values(
    RowCase{"booleanTrue", [](auto &p) { p.customFields = {{QUuid(), "Sea view", CustomFieldType::boolean, "true"}}; },
            "Custom", "✳️", "Sea view", "Yes"},
    RowCase{"booleanOtherCase",
            [](auto &p) { p.customFields = {{QUuid(), "Sea view", CustomFieldType::boolean, "True"}}; }, "Custom",
            "✳️", "Sea view", "No"},
    RowCase{"emptyText", [](auto &p) { p.customFields = {{QUuid(), "Code", CustomFieldType::text, ""}}; }, "Custom",
            "✳️", "Code", ""},
    RowCase{"numberAsStored", [](auto &p) { p.customFields = {{QUuid(), "Desks", CustomFieldType::number, "1200"}}; },
            "Custom", "✳️", "Desks", "1200"}),
    caseName);

class InfoGroups : public InfoGroupsFixture, public ::testing::Test
{
protected:
    static void setEveryField(LumivaneProject &p)
    {
        p.area = 120;
        p.roomCount = 5;
        p.hasGarden = true;
        p.energyClass = EnergyClass::a;
        p.internalReference = QStringLiteral("R-1");
        p.collectionType = QStringLiteral("Paintings");
        p.eventType = QStringLiteral("Gala");
        p.educationLevel = QStringLiteral("High school");
        p.freeNote = QStringLiteral("Note");
        p.price = 1;
        p.customFields = {{QUuid(), QStringLiteral("X"), CustomFieldType::text, QStringLiteral("y")}};
    }
};

TEST_F(InfoGroups, nothingSetGivesNoGroup)
{
    EXPECT_TRUE(build([](auto &) {}).isEmpty());
}

TEST_F(InfoGroups, tenGroupsInFixedOrder)
{
    QStringList titles;
    for (const auto &group : build(setEveryField))
        titles << group.title;
    EXPECT_EQ(titles, (QStringList{"Features", "Residential", "Equipment", "Diagnostics", "Mandate",
                                   "Culture & Heritage", "Events", "Education", "Notes", "Custom"}));
}

TEST_F(InfoGroups, rowsKeepTheirOrderWithinAGroup)
{
    const auto groups = build([](LumivaneProject &p) {
        p.isFurnished = true;
        p.hasParking = true;
        p.hasPool = false;
        p.hasElevator = true;
    });
    ASSERT_EQ(groups.size(), 1);
    QStringList labels;
    for (const auto &item : groups[0].items)
        labels << item.label;
    EXPECT_EQ(labels, (QStringList{"Parking", "Elevator", "Furnished"}));
}

TEST_F(InfoGroups, textsFollowTheLanguageButUnitsStayFrench)
{
    m_l10n.setCurrent(L10n::Language::french);
    const auto groups = build([](LumivaneProject &p) {
        p.capacity = 40;
        p.monthlyRent = 900;
    });
    ASSERT_EQ(groups.size(), 2);
    EXPECT_EQ(groups[0].title, QStringLiteral("Caractéristiques"));
    EXPECT_EQ(groups[0].items[0].value, QStringLiteral("40 pers."));
    EXPECT_EQ(groups[1].items[0].label, QStringLiteral("Loyer"));
    EXPECT_EQ(groups[1].items[0].value, QStringLiteral("900 €/mois"));
}

TEST_F(InfoGroups, everyBuildMakesFreshIdentities)
{
    const auto first = build(setEveryField);
    const auto second = build(setEveryField);
    ASSERT_EQ(first.size(), second.size());
    EXPECT_NE(first[0], second[0]);
    EXPECT_NE(first[0].items[0], second[0].items[0]);
    EXPECT_NE(qHash(first[0]), qHash(second[0]));

    // Apart from the ids the two builds agree field for field.
    auto withoutIds = [](QList<LumivaneInfoGroup> groups) {
        for (auto &group : groups) {
            group.id = QUuid();
            for (auto &item : group.items)
                item.id = QUuid();
        }
        return groups;
    };
    EXPECT_EQ(withoutIds(first), withoutIds(second));
    EXPECT_EQ(qHash(withoutIds(first)[0]), qHash(withoutIds(second)[0]));
}

TEST_F(InfoGroups, iconsAreTheExactCodePoints)
{
    const auto groups = build([](LumivaneProject &p) {
        p.yearBuilt = 2000;
        p.customFields = {{QUuid(), QStringLiteral("A"), CustomFieldType::text, QStringLiteral("b")}};
    });
    ASSERT_EQ(groups.size(), 2);
    EXPECT_EQ(groups[0].items[0].icon.toUcs4(), QList<uint>{0x1F3D7});
    EXPECT_EQ(groups[1].items[0].icon.toUcs4(), (QList<uint>{0x2733, 0xFE0F}));
}

} // namespace

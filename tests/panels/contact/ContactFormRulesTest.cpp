#include "panels/contact/ContactFormRules.h"
#include "tests/panels/support/PanelTestSupport.h"
#include "tests/support/CaseName.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

FormField field(const QString &label, FormFieldType type, bool required = false)
{
    return FormField{QUuid::createUuid(), label, type, required, std::nullopt};
}

ContactFormAnswers filledAnswers()
{
    return ContactFormAnswers{QStringLiteral("Ana"), QStringLiteral("ana@example.org"), {}, {}, {}};
}

struct ValidityCase
{
    const char *what;
    QString name;
    QString email;
    bool isSubmitting;
    FormFieldType requiredType;
    std::optional<QString> requiredAnswer;
    bool valid;
};

class FormValidity : public ::testing::TestWithParam<ValidityCase>
{
};

TEST_P(FormValidity, FollowsNameEmailSubmittingAndRequiredFields)
{
    const ValidityCase &c = GetParam();
    const QList<FormField> fields{field("Optional", FormFieldType::text), field("Needed", c.requiredType, true)};
    ContactFormAnswers answers{c.name, c.email, {}, {}, {}};
    if (c.requiredAnswer)
        answers.customValues.insert(fields[1].id, *c.requiredAnswer);
    EXPECT_EQ(isFormValid(answers, fields, c.isSubmitting), c.valid) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormValidity,
    ::testing::Values(
        ValidityCase{"all given", "Ana", "x", false, FormFieldType::text, QStringLiteral("a"), true},
        ValidityCase{"e-mail form not checked", "Ana", "no at sign", false, FormFieldType::text, QStringLiteral("a"), true},
        ValidityCase{"name of spaces and tabs", " \t\u00a0", "x", false, FormFieldType::text, QStringLiteral("a"), false},
        ValidityCase{"e-mail of spaces", "Ana", "   ", false, FormFieldType::text, QStringLiteral("a"), false},
        ValidityCase{"name of a line break counts", "\n", "x", false, FormFieldType::text, QStringLiteral("a"), true},
        ValidityCase{"while submitting", "Ana", "x", true, FormFieldType::text, QStringLiteral("a"), false},
        ValidityCase{"required text blank", "Ana", "x", false, FormFieldType::text, QStringLiteral(" \t"), false},
        ValidityCase{"required text never typed", "Ana", "x", false, FormFieldType::number, std::nullopt, false},
        ValidityCase{"required textarea of line breaks", "Ana", "x", false, FormFieldType::textarea, QStringLiteral("\n\n"), true},
        ValidityCase{"required checkbox untouched", "Ana", "x", false, FormFieldType::checkbox, std::nullopt, false},
        ValidityCase{"required checkbox ticked", "Ana", "x", false, FormFieldType::checkbox, QStringLiteral("true"), true},
        ValidityCase{"required checkbox ticked then unticked", "Ana", "x", false, FormFieldType::checkbox, QStringLiteral("false"), true}),
    [](const auto &info) { return caseName(info.param.what); });

TEST(ContactFormRules, TrimsSpacesAndTabsButKeepsLineBreaks)
{
    EXPECT_EQ(trimmedSpacesAndTabs(u" \t\u00a0\u2003a b\n\t "), QStringLiteral("a b\n"));
    EXPECT_EQ(trimmedSpacesAndTabs(u"\t \t"), QString());
}

TEST(ContactFormRules, CustomFieldEntriesFollowTypeAndLanguage)
{
    auto l10n = panelTestL10n(L10n::Language::french);
    const FormField untouched = field("Newsletter", FormFieldType::checkbox);
    const FormField ticked = field("Visite", FormFieldType::checkbox);
    const FormField blank = field("Budget", FormFieldType::number);
    const FormField padded = field("Ville", FormFieldType::text);
    const FormField notes = field("Notes", FormFieldType::textarea);
    const QHash<QUuid, QString> values{{ticked.id, "true"}, {blank.id, " \t "}, {padded.id, "  Lyon\t"},
                                       {notes.id, "\tline one\nline two "}};

    const QList<CustomFieldEntry> entries = customFieldEntries({untouched, ticked, blank, padded, notes}, values, *l10n);
    const QList<CustomFieldEntry> expected{{"Newsletter", "Non"}, {"Visite", "Oui"}, {"Ville", "Lyon"},
                                           {"Notes", "line one\nline two"}};
    EXPECT_EQ(entries, expected);
}

TEST(ContactFormRules, RepeatedLabelsKeepEveryValue)
{
    auto l10n = panelTestL10n(L10n::Language::english);
    LumivaneProject project = panelTestProject();
    const FormField first = field("Date", FormFieldType::text);
    const FormField second = field("Date", FormFieldType::text);
    const FormField clash = field("Date (2)", FormFieldType::text);
    const FormField third = field("Date", FormFieldType::checkbox);
    project.contactFormCustomFields = {first, second, clash, third};
    ContactFormAnswers answers = filledAnswers();
    answers.customValues = {{first.id, "Monday"}, {second.id, "Tuesday"}, {clash.id, "Friday"}};

    const QJsonObject custom = QJsonDocument::fromJson(*contactWebhookBody(project, answers, *l10n))
                                   .object()
                                   .value("customFields")
                                   .toObject();
    const QJsonObject expected{{"Date", "Monday"}, {"Date (2)", "Tuesday"}, {"Date (2) (2)", "Friday"},
                               {"Date (3)", "No"}};
    EXPECT_EQ(custom, expected);

    const QString mail = contactMailBody(answers, project.contactFormCustomFields, *l10n);
    EXPECT_TRUE(mail.contains("Date: Monday\nDate: Tuesday\nDate (2): Friday\nDate: No\n"));
}

TEST(ContactFormRules, BrokenUtf16CannotBeSerialised)
{
    auto l10n = panelTestL10n(L10n::Language::english);
    ContactFormAnswers answers = filledAnswers();
    answers.message = QString(QChar(0xD800));
    EXPECT_FALSE(contactWebhookBody(panelTestProject(), answers, *l10n).has_value());
}

struct DeliveryCase
{
    const char *what;
    std::optional<QString> webhook;
    std::optional<QString> email;
    ContactDelivery::Kind kind;
};

class Delivery : public ::testing::TestWithParam<DeliveryCase>
{
};

TEST_P(Delivery, PrefersUsableWebhookThenMail)
{
    const DeliveryCase &c = GetParam();
    LumivaneProject project = panelTestProject();
    project.contactFormWebhookURL = c.webhook;
    project.contactFormEmail = c.email;
    const ContactDelivery delivery = contactDelivery(project);
    EXPECT_EQ(delivery.kind, c.kind) << c.what;
    if (c.kind == ContactDelivery::Kind::mail) {
        EXPECT_EQ(delivery.recipient, *c.email) << "as stored";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Delivery,
    ::testing::Values(
        DeliveryCase{"both", "https://hooks.example.org/x", "a@b.c", ContactDelivery::Kind::webhook},
        DeliveryCase{"http webhook", "http://127.0.0.1:8080/in", std::nullopt, ContactDelivery::Kind::webhook},
        DeliveryCase{"spaces get encoded", "https://example.org/a b", std::nullopt, ContactDelivery::Kind::webhook},
        DeliveryCase{"file webhook", "file:///tmp/x", "a@b.c", ContactDelivery::Kind::mail},
        DeliveryCase{"data webhook", "data:text/plain,hi", std::nullopt, ContactDelivery::Kind::none},
        DeliveryCase{"relative text", "httpfoo", " a@b.c ", ContactDelivery::Kind::mail},
        DeliveryCase{"no host", "https://", "a@b.c", ContactDelivery::Kind::mail},
        DeliveryCase{"unparseable", "http://[::1", "a@b.c", ContactDelivery::Kind::mail},
        DeliveryCase{"empty webhook", "", "a@b.c", ContactDelivery::Kind::mail},
        DeliveryCase{"empty address", std::nullopt, "", ContactDelivery::Kind::none},
        DeliveryCase{"nothing", std::nullopt, std::nullopt, ContactDelivery::Kind::none}),
    [](const auto &info) { return caseName(info.param.what); });

} // namespace

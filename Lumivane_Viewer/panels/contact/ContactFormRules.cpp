#include "ContactFormRules.h"

#include "l10n/L10n.h"
#include "model/ExternalLinks.h"
#include "model/LumivaneProject.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <algorithm>

namespace {

// The platform's white space without line breaks: the space separators and
// the tab.
bool isSpaceOrTab(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

bool isBlank(QStringView text)
{
    return trimmedSpacesAndTabs(text).isEmpty();
}

bool isAnswered(const FormField &field, const QHash<QUuid, QString> &customValues)
{
    const auto answer = customValues.constFind(field.id);
    if (answer == customValues.cend())
        return false;
    // A toggled checkbox holds "true" or "false", both of which count.
    return !isBlank(*answer);
}

// One key per entry: a label seen before gets the first free " (n)" suffix,
// so no answer is dropped from the object.
QJsonObject customFieldsObject(const QList<CustomFieldEntry> &entries)
{
    QJsonObject object;
    for (const CustomFieldEntry &entry : entries) {
        QString key = entry.label;
        for (int n = 2; object.contains(key); ++n)
            key = QStringLiteral("%1 (%2)").arg(entry.label).arg(n);
        object.insert(key, entry.value);
    }
    return object;
}

bool allValidUtf16(const QStringList &texts)
{
    return std::all_of(texts.cbegin(), texts.cend(), [](const QString &text) { return text.isValidUtf16(); });
}

} // namespace

QString trimmedSpacesAndTabs(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isSpaceOrTab(text[begin]))
        ++begin;
    while (end > begin && isSpaceOrTab(text[end - 1]))
        --end;
    return text.sliced(begin, end - begin).toString();
}

bool isFormValid(const ContactFormAnswers &answers, const QList<FormField> &fields, bool isSubmitting)
{
    if (isBlank(answers.name) || isBlank(answers.email) || isSubmitting)
        return false;
    return std::all_of(fields.cbegin(), fields.cend(), [&](const FormField &field) {
        return !field.required || isAnswered(field, answers.customValues);
    });
}

std::optional<CustomFieldEntry> customFieldEntry(const FormField &field, const QHash<QUuid, QString> &customValues,
                                                 const L10n &l10n)
{
    const QString answer = customValues.value(field.id);
    const QString value = trimmedSpacesAndTabs(
        field.type == FormFieldType::checkbox ? l10n.text(answer == u"true" ? L10n::Key::yes : L10n::Key::no)
                                              : answer);
    if (value.isEmpty())
        return std::nullopt;
    return CustomFieldEntry{field.label, value};
}

QList<CustomFieldEntry> customFieldEntries(const QList<FormField> &fields, const QHash<QUuid, QString> &customValues,
                                           const L10n &l10n)
{
    QList<CustomFieldEntry> entries;
    for (const FormField &field : fields) {
        if (auto entry = customFieldEntry(field, customValues, l10n))
            entries.append(std::move(*entry));
    }
    return entries;
}

std::optional<QByteArray> contactWebhookBody(const LumivaneProject &project, const ContactFormAnswers &answers,
                                             const L10n &l10n)
{
    const QList<CustomFieldEntry> entries = customFieldEntries(project.contactFormCustomFields,
                                                               answers.customValues, l10n);
    QStringList texts{project.name, answers.name, answers.email, answers.phone, answers.message};
    for (const CustomFieldEntry &entry : entries)
        texts << entry.label << entry.value;
    if (!allValidUtf16(texts))
        return std::nullopt;

    const QJsonObject body{
        {QStringLiteral("project"), project.name},
        {QStringLiteral("projectID"), project.id.toString(QUuid::WithoutBraces).toUpper()},
        {QStringLiteral("name"), answers.name},
        {QStringLiteral("email"), answers.email},
        {QStringLiteral("phone"), answers.phone},
        {QStringLiteral("message"), answers.message},
        {QStringLiteral("customFields"), customFieldsObject(entries)},
    };
    return QJsonDocument(body).toJson(QJsonDocument::Compact);
}

QString contactMailSubject(const LumivaneProject &project, const L10n &l10n)
{
    return l10n.localizedFormat(L10n::Key::contactMailSubject, project.name);
}

QString contactMailBody(const ContactFormAnswers &answers, const QList<FormField> &fields, const L10n &l10n)
{
    const auto line = [&l10n](const QString &caption, const QString &value) {
        return l10n.localizedFormat(L10n::Key::contactMailFieldFormat, caption, value);
    };
    QStringList lines{
        line(l10n.text(L10n::Key::contactFieldName), answers.name),
        line(l10n.text(L10n::Key::contactFieldEmail), answers.email),
        line(l10n.text(L10n::Key::contactFieldPhoneLabel), answers.phone),
    };
    for (const CustomFieldEntry &entry : customFieldEntries(fields, answers.customValues, l10n))
        lines << line(mailLineText(entry.label), entry.value);
    lines << QString() << l10n.text(L10n::Key::contactMailMessage) << answers.message;
    return lines.join(u'\n');
}

std::optional<QUrl> usableWebhookUrl(const std::optional<QString> &text)
{
    if (!text || text->isEmpty())
        return std::nullopt;
    const QUrl url(*text, QUrl::TolerantMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"http" && scheme != u"https") || url.host().isEmpty())
        return std::nullopt;
    return url;
}

ContactDelivery contactDelivery(const LumivaneProject &project)
{
    if (auto webhook = usableWebhookUrl(project.contactFormWebhookURL))
        return {ContactDelivery::Kind::webhook, *webhook, {}};
    if (project.contactFormEmail && !project.contactFormEmail->isEmpty())
        return {ContactDelivery::Kind::mail, {}, *project.contactFormEmail};
    return {};
}

#pragma once

#include "model/FormField.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>
#include <QUrl>
#include <QUuid>

#include <optional>

class L10n;
struct LumivaneProject;

// What the contact form knows without widgets: when it may be sent, what a
// custom field contributes, the webhook's JSON body, the mail draft's texts
// and which of the two ways a project uses.

/// What the visitor typed into the contact form, exactly as typed.
struct ContactFormAnswers
{
    QString name;
    QString email;
    QString phone;
    QString message;
    /// Per custom field id: the text typed, or "true"/"false" for a checkbox
    /// once it was toggled. Entries are never removed.
    QHash<QUuid, QString> customValues;
};

/// The text without the spaces and tabs at either end; line breaks stay.
QString trimmedSpacesAndTabs(QStringView text);

/// Name and e-mail hold more than spaces and tabs, no send is running, and
/// every required custom field is answered (a checkbox once it was toggled,
/// also back off).
bool isFormValid(const ContactFormAnswers &answers, const QList<FormField> &fields, bool isSubmitting);

/// A custom field's contribution to the message: its label and value.
struct CustomFieldEntry
{
    QString label;
    QString value;

    bool operator==(const CustomFieldEntry &) const = default;
};

/// A checkbox gives the current language's yes or no (never toggled: no);
/// any other field its answer trimmed of spaces and tabs, or nothing when
/// that is empty.
std::optional<CustomFieldEntry> customFieldEntry(const FormField &field, const QHash<QUuid, QString> &customValues,
                                                 const L10n &l10n);

/// The entries of the fields in project order.
QList<CustomFieldEntry> customFieldEntries(const QList<FormField> &fields, const QHash<QUuid, QString> &customValues,
                                           const L10n &l10n);

/// The compact JSON object posted to the webhook: project, projectID,
/// name, email, phone, message and customFields. A label used twice keeps
/// its first value and the later ones under "label (2)", "label (3)"...
/// None when a text is not valid UTF-16, which JSON could only mangle.
std::optional<QByteArray> contactWebhookBody(const LumivaneProject &project, const ContactFormAnswers &answers,
                                             const L10n &l10n);

QString contactMailSubject(const LumivaneProject &project, const L10n &l10n);
/// Name, e-mail and phone lines, one line per custom entry (its label cut as
/// a mailLineText), an empty line, the message caption and the message,
/// joined with "\n".
QString contactMailBody(const ContactFormAnswers &answers, const QList<FormField> &fields, const L10n &l10n);

/// The stored webhook text when it names an http or https address with a
/// host; other schemes (file:, data:...) and relative texts are unusable.
std::optional<QUrl> usableWebhookUrl(const std::optional<QString> &text);

/// How a project receives its contact messages: the webhook whenever it is
/// usable, else a mail draft to contactFormEmail when that is not empty,
/// else nowhere.
struct ContactDelivery
{
    enum class Kind { webhook, mail, none };
    Kind kind = Kind::none;
    QUrl webhook;
    QString recipient; // as stored
};
ContactDelivery contactDelivery(const LumivaneProject &project);

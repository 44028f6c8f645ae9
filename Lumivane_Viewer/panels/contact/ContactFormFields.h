#pragma once

#include "ContactFormRules.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <optional>
#include <utility>

class ContactSendButton;
class L10n;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

/// The contact form's inputs, top to bottom: name, e-mail, phone, message,
/// one row per custom field, the last failure and the send button. It keeps
/// what the visitor types and knows nothing of sending: the owner decides
/// when the button is enabled and what a press does.
class ContactFormFields final : public QWidget
{
public:
    ContactFormFields(QList<FormField> fields, L10n &l10n, QWidget *parent = nullptr);

    const ContactFormAnswers &answers() const { return m_answers; }

    /// The button's look: spinner and loading text while submitting; gold and
    /// enabled only when the form may be sent.
    void showSendState(bool isSubmitting, bool canSend);
    void showError(const std::optional<QString> &text);
    void retranslate();

    std::function<void()> onEdited;
    std::function<void()> onSend;

private:
    struct CustomRow
    {
        FormField field;
        QCheckBox *checkbox = nullptr; // checkbox fields only
    };

    QLineEdit *addLabeledLine(QLabel *&caption, QString ContactFormAnswers::*answer);
    void addMessageRow();
    void addCustomRow(const FormField &field);
    QWidget *customInput(const FormField &field);
    void storeCustomValue(const QUuid &id, const QString &value);
    void edited();

    QPointer<L10n> m_l10n;
    ContactFormAnswers m_answers;
    bool m_isSubmitting = false;
    QLabel *m_nameCaption = nullptr;
    QLabel *m_emailCaption = nullptr;
    QLabel *m_phoneCaption = nullptr;
    QLabel *m_messageCaption = nullptr;
    QLineEdit *m_name = nullptr;
    QLineEdit *m_email = nullptr;
    QLineEdit *m_phone = nullptr;
    QList<CustomRow> m_customRows;
    QList<std::pair<QLabel *, QWidget *>> m_captioned; // inputs named after their captions
    QLabel *m_error = nullptr;
    ContactSendButton *m_send = nullptr;
};

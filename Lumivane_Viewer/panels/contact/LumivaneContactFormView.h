#pragma once

#include "ContactFormRules.h"

#include "model/LumivaneProject.h"
#include "widgets/ModalFrame.h"

#include <QPointer>
#include <QUrl>

#include <chrono>
#include <functional>
#include <optional>

class CardThanksView;
class ContactFormFields;
class L10n;
class QAbstractButton;
class QLabel;
class QNetworkAccessManager;
class QScrollArea;

/// What the contact form needs from outside to deliver a message.
struct ContactFormServices
{
    /// Hands a mail draft to the desktop; false when nothing could open it.
    std::function<bool(const QUrl &)> openExternal;
    /// Carries the webhook POST. One that outlives the form lets a POST run
    /// to its end after the form closed; without one the form makes its
    /// own, and closing the form stops the POST.
    QPointer<QNetworkAccessManager> network;
    /// Longest silence of the webhook's server before the send fails.
    std::chrono::milliseconds webhookTimeout{60000};
};

/// The visitor's contact form: a dark card over a dimmed backdrop with name,
/// e-mail, phone, message and the author's own fields, sent as a JSON POST
/// to the project's webhook or as a mail draft, and a thanks view once sent.
/// It keeps nothing after it closes: the owner builds a new one for each
/// showing, destroys it after onClose, and may destroy it while a POST runs.
/// It never reads contactFormEnabled; whether to offer it is the owner's.
class LumivaneContactFormView final : public ModalFrame
{
public:
    LumivaneContactFormView(LumivaneProject project, L10n &l10n, ContactFormServices services,
                            QWidget *parent = nullptr);

    /// The send button's action: the webhook when the project has a usable
    /// one, else a mail draft, else an error. Does nothing while the form
    /// may not be sent.
    void submitContactForm();

    const ContactFormAnswers &answers() const;
    bool isSubmitting() const { return m_isSubmitting; }
    const std::optional<QString> &errorMessage() const { return m_errorMessage; }
    bool isSent() const { return m_sent; }

private:
    QWidget *buildHeader();
    void sendToWebhook(const QUrl &url);
    void openMailDraft(const QString &recipient);
    void fail(const QString &message);
    void markSent();
    void refreshSendState();
    void retranslate();

    LumivaneProject m_project;
    QPointer<L10n> m_l10n;
    ContactFormServices m_services;
    bool m_isSubmitting = false;
    std::optional<QString> m_errorMessage;
    bool m_sent = false;

    QLabel *m_title = nullptr;
    QScrollArea *m_scroll = nullptr;
    ContactFormFields *m_fields = nullptr;
    CardThanksView *m_thanks = nullptr;
    QAbstractButton *m_close = nullptr;
};

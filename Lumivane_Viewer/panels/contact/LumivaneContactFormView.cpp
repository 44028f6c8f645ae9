#include "LumivaneContactFormView.h"

#include "ContactFormFields.h"
#include "WebhookPost.h"

#include "l10n/L10n.h"
#include "model/DisplayText.h"
#include "model/ExternalLinks.h"
#include "model/Palette.h"
#include "model/SystemFont.h"
#include "panels/common/CardThanksView.h"
#include "panels/common/CardWidgets.h"
#include "widgets/SymbolButton.h"

#include <QApplication>
#include <QEvent>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QPropertyAnimation>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kMaxBodyHeight = 500;

constexpr int kCardWidth = 460;

ModalFrameLook contactCardLook()
{
    return ModalFrameLook{QColor(0, 0, 0, 140), QColor::fromRgbF(0.11f, 0.11f, 0.11f), 14,
                          DropShadow{QColor(0, 0, 0, 128), 24, QPointF(0, 8)}};
}

/// A scroll area as tall as its content, up to a limit, so the card grows
/// with the fields and scrolls only past that.
class BoundedScrollArea final : public QScrollArea
{
public:
    BoundedScrollArea(int maxHeight, QWidget *parent)
        : QScrollArea(parent)
        , m_maxHeight(maxHeight)
    {
        setFrameShape(QFrame::NoFrame);
        // Every row is a field under its caption, and a field reached with
        // Tab scrolls into view with a margin that takes its caption along:
        // nothing here is read without a control to reach it by.
        setFocusPolicy(Qt::NoFocus);
        setWidgetResizable(true);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        viewport()->setAutoFillBackground(false);
        setStyleSheet(QStringLiteral(
            "QScrollArea { background: transparent; }"
            "QScrollBar:vertical { background: transparent; width: 8px; margin: 2px; }"
            "QScrollBar::handle:vertical { background: rgba(255, 255, 255, 0.3); border-radius: 2px; min-height: 24px; }"
            "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
            "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: transparent; }"));
    }

    QSize sizeHint() const override
    {
        const QSize content = widget() ? widget()->sizeHint() : QSize();
        return {content.width(), std::min(content.height(), m_maxHeight)};
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A row shown or hidden (the error text) changes the content's height.
        if (watched == widget() && event->type() == QEvent::LayoutRequest)
            updateGeometry();
        return QScrollArea::eventFilter(watched, event);
    }

private:
    int m_maxHeight;
};

} // namespace

LumivaneContactFormView::LumivaneContactFormView(LumivaneProject project, L10n &l10n, ContactFormServices services,
                                                 QWidget *parent)
    : ModalFrame(contactCardLook(), DialogFocus::exclusive, parent)
    , m_project(std::move(project))
    , m_l10n(&l10n)
    , m_services(std::move(services))
{
    panel()->setFixedWidth(kCardWidth);
    QVBoxLayout *stack = panelColumn();
    stack->addWidget(buildHeader());
    auto *divider = new QWidget(panel());
    divider->setFixedHeight(1);
    divider->setAutoFillBackground(true);
    QPalette dividerPalette = divider->palette();
    dividerPalette.setColor(QPalette::Window, withAlpha(Qt::white, 0.15));
    divider->setPalette(dividerPalette);
    stack->addWidget(divider);

    m_fields = new ContactFormFields(m_project.contactFormCustomFields, *m_l10n);
    m_fields->onEdited = [this] { refreshSendState(); };
    m_fields->onSend = [this] { submitContactForm(); };
    m_scroll = new BoundedScrollArea(kMaxBodyHeight, panel());
    m_scroll->setWidget(m_fields);
    // The scroll area gives its content a background; the card shows through.
    m_fields->setAutoFillBackground(false);
    stack->addWidget(m_scroll);
    m_thanks = addThanksView(*stack,
                             CardThanksLook{QMargins(30, 30, 30, 30), QStringLiteral("checkmark.circle.fill"), 40,
                                            paletteGold(), systemFont(15, QFont::Bold), Qt::white, systemFont(12),
                                            withAlpha(Qt::white, 0.6), 0, withAlpha(Qt::white, 0.7)},
                             [this] { requestClose(); });

    connect(m_l10n, &L10n::currentChanged, this, [this] { retranslate(); });
    // However the focus comes to a field (Tab, Backtab, a label's click), the field comes into view.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && m_fields->isAncestorOf(now))
            m_scroll->ensureWidgetVisible(now);
    });
    retranslate();
    refreshSendState();
}

QWidget *LumivaneContactFormView::buildHeader()
{
    auto *header = new QWidget(panel());
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(20, 14, 20, 14);
    m_title = cardLabel(systemFont(15, QFont::Bold), Qt::white, header);
    // A long author title is cut at the card's edge rather than widening it.
    m_title->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(m_title, 1);
    m_close = new SymbolButton(SymbolButtonLook{26, QStringLiteral("xmark"), 11, withAlpha(Qt::white, 0.7), std::nullopt, withAlpha(Qt::white, 0.1)},
                               header);
    m_close->setCursor(Qt::PointingHandCursor);
    connect(m_close, &QAbstractButton::clicked, this, [this] { requestClose(); });
    row->addWidget(m_close, 0, Qt::AlignVCenter);
    return header;
}

const ContactFormAnswers &LumivaneContactFormView::answers() const
{
    return m_fields->answers();
}

void LumivaneContactFormView::submitContactForm()
{
    if (m_sent || !isFormValid(answers(), m_project.contactFormCustomFields, m_isSubmitting))
        return;
    m_errorMessage.reset();
    m_fields->showError(m_errorMessage);
    m_isSubmitting = true;
    refreshSendState();

    const ContactDelivery delivery = contactDelivery(m_project);
    switch (delivery.kind) {
    case ContactDelivery::Kind::webhook:
        sendToWebhook(delivery.webhook);
        return;
    case ContactDelivery::Kind::mail:
        openMailDraft(delivery.recipient);
        return;
    case ContactDelivery::Kind::none:
        fail(m_l10n->text(L10n::Key::contactNoRecipient));
        return;
    }
}

void LumivaneContactFormView::sendToWebhook(const QUrl &url)
{
    const std::optional<QByteArray> json = contactWebhookBody(m_project, answers(), *m_l10n);
    if (!json) {
        fail(m_l10n->text(L10n::Key::contactSerializationError));
        return;
    }
    if (!m_services.network)
        m_services.network = new QNetworkAccessManager(this);
    // The form is the receiver: once it is gone, the outcome reaches no one.
    postWebhook(*m_services.network, {url, *json, m_services.webhookTimeout}, this, [this](const WebhookReply &reply) {
        if (auto failure = webhookFailureText(reply, *m_l10n))
            fail(*failure);
        else
            markSent();
    });
}

void LumivaneContactFormView::openMailDraft(const QString &recipient)
{
    const std::optional<QUrl> url = mailDraftUrl(recipient, contactMailSubject(m_project, *m_l10n),
                                                 contactMailBody(answers(), m_project.contactFormCustomFields, *m_l10n));
    if (!url) {
        fail(m_l10n->localizedFormat(L10n::Key::contactErrorPrefix, m_l10n->text(L10n::Key::contactErrorMailAddress)));
        return;
    }
    if (!m_services.openExternal || !m_services.openExternal(*url)) {
        fail(m_l10n->localizedFormat(L10n::Key::contactErrorPrefix, m_l10n->text(L10n::Key::contactErrorMailOpen)));
        return;
    }
    QTimer::singleShot(0, this, [this] { markSent(); });
}

void LumivaneContactFormView::fail(const QString &message)
{
    m_errorMessage = message;
    m_fields->showError(m_errorMessage);
    m_isSubmitting = false;
    refreshSendState();
}

void LumivaneContactFormView::markSent()
{
    m_isSubmitting = false;
    m_sent = true;
    refreshSendState();
    const bool focusInForm = m_fields->isAncestorOf(QApplication::focusWidget());
    m_thanks->show();
    m_scroll->hide();
    if (focusInForm)
        m_thanks->focusClose();
    auto *fade = new QGraphicsOpacityEffect(m_thanks);
    m_thanks->setGraphicsEffect(fade);
    auto *appear = new QPropertyAnimation(fade, "opacity", m_thanks);
    appear->setStartValue(0.0);
    appear->setEndValue(1.0);
    appear->setDuration(200);
    appear->setEasingCurve(QEasingCurve::InQuad);
    // Without the effect the thanks view paints directly again.
    connect(appear, &QPropertyAnimation::finished, m_thanks, [this] { m_thanks->setGraphicsEffect(nullptr); });
    appear->start(QAbstractAnimation::DeleteWhenStopped);
}

void LumivaneContactFormView::refreshSendState()
{
    m_fields->showSendState(m_isSubmitting, isFormValid(answers(), m_project.contactFormCustomFields, m_isSubmitting));
}

void LumivaneContactFormView::retranslate()
{
    m_title->setText(m_project.contactFormButtonLabel ? displayLine(*m_project.contactFormButtonLabel)
                                                      : m_l10n->text(L10n::Key::contactUs));
    setAccessibleName(m_title->text());
    m_close->setAccessibleName(m_l10n->text(L10n::Key::close));
    m_thanks->setTexts(m_l10n->text(L10n::Key::contactMessageSent), m_l10n->text(L10n::Key::contactMessageSentBody),
                       m_l10n->text(L10n::Key::close));
    m_fields->retranslate();
}

#include "panels/contact/ContactSendButton.h"
#include "panels/contact/LumivaneContactFormView.h"
#include "tests/support/DesktopUrlCapture.h"
#include "tests/panels/support/LocalHttpServer.h"
#include "tests/panels/support/PanelTestSupport.h"
#include "widgets/WrappingText.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollArea>
#include <QTest>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

template <typename Widget>
Widget *named(const QWidget &root, const QString &accessibleName)
{
    for (Widget *widget : root.findChildren<Widget *>()) {
        if (widget->accessibleName() == accessibleName)
            return widget;
    }
    ADD_FAILURE() << "no input named " << accessibleName.toStdString();
    return nullptr;
}

class ContactFormView : public ::testing::Test
{
protected:
    ContactFormView()
    {
        m_project.contactFormCustomFields = {m_callBack, m_floor, m_notes};
    }

    std::unique_ptr<LumivaneContactFormView> makeForm(ContactFormServices services = {})
    {
        if (!services.openExternal) {
            services.openExternal = [this](const QUrl &url) {
                m_opened.append(url);
                return m_desktopAccepts;
            };
        }
        auto form = std::make_unique<LumivaneContactFormView>(m_project, *m_l10n, std::move(services));
        form->onClose = [this] { ++m_closeCount; };
        form->resize(1000, 800);
        return form;
    }

    void fill(LumivaneContactFormView &form)
    {
        named<QLineEdit>(form, "Name")->setText(" Ana ");
        named<QLineEdit>(form, "Email")->setText("ana@example.org ");
        named<QPlainTextEdit>(form, "Message (optional)")->setPlainText("Call me & more\n= soon #1");
    }

    void fillCustomFields(LumivaneContactFormView &form)
    {
        named<QCheckBox>(form, "Call back")->click();
        named<QLineEdit>(form, "Floor")->setText("  3 ");
    }

    static ContactSendButton *sendButton(const LumivaneContactFormView &form)
    {
        return form.findChild<ContactSendButton *>();
    }

    static bool waitUntilDone(const LumivaneContactFormView &form)
    {
        return QTest::qWaitFor([&] { return !form.isSubmitting(); }, 15000);
    }

    LumivaneProject m_project = panelTestProject();
    FormField m_callBack{QUuid::createUuid(), "Call back", FormFieldType::checkbox, true, std::nullopt};
    FormField m_floor{QUuid::createUuid(), "Floor", FormFieldType::number, false, std::nullopt};
    FormField m_notes{QUuid::createUuid(), "Notes", FormFieldType::textarea, false, "Anything else"};
    std::unique_ptr<L10n> m_l10n = panelTestL10n(L10n::Language::english);
    QList<QUrl> m_opened;
    bool m_desktopAccepts = true;
    int m_closeCount = 0;
};

TEST_F(ContactFormView, SendButtonFollowsValidity)
{
    auto form = makeForm();
    ContactSendButton *send = sendButton(*form);
    EXPECT_FALSE(send->isEnabled());
    named<QLineEdit>(*form, "Name")->setText(" \t");
    named<QLineEdit>(*form, "Email")->setText("x");
    EXPECT_FALSE(send->isEnabled()) << "blank name";
    named<QLineEdit>(*form, "Name")->setText("Ana");
    EXPECT_FALSE(send->isEnabled()) << "required checkbox untouched";

    auto *box = named<QCheckBox>(*form, "Call back");
    EXPECT_EQ(box->text(), QStringLiteral("Yes"));
    box->click();
    box->click();
    EXPECT_TRUE(send->isEnabled()) << "toggled back off still answers";
    EXPECT_EQ(form->answers().customValues.value(m_callBack.id), QStringLiteral("false"));
    EXPECT_EQ(named<QLineEdit>(*form, "Floor")->placeholderText(), QStringLiteral("Floor"));
    EXPECT_EQ(named<QPlainTextEdit>(*form, "Notes")->toPlainText(), QString());
}

TEST_F(ContactFormView, TitleAndTextsFollowProjectAndLanguage)
{
    auto form = makeForm();
    const auto hasLabel = [&form](const QString &text) {
        const QList<QLabel *> labels = form->findChildren<QLabel *>();
        return std::any_of(labels.cbegin(), labels.cend(), [&](QLabel *label) { return label->text() == text; });
    };
    EXPECT_TRUE(hasLabel("Contact us"));
    m_l10n->setCurrent(L10n::Language::french);
    EXPECT_TRUE(hasLabel("Nous contacter"));
    EXPECT_TRUE(hasLabel("Téléphone (optionnel)"));
    EXPECT_EQ(sendButton(*form)->text(), QStringLiteral("Envoyer"));
    EXPECT_EQ(named<QCheckBox>(*form, "Call back")->text(), QStringLiteral("Oui"));

    m_project.contactFormButtonLabel = QString();
    auto untitled = makeForm();
    const QList<QLabel *> labels = untitled->findChildren<QLabel *>();
    EXPECT_TRUE(std::none_of(labels.cbegin(), labels.cend(), [](QLabel *l) { return l->text() == "Nous contacter"; }));
}

TEST_F(ContactFormView, WebhookReceivesTheFormAndThanksFollow)
{
    LocalHttpServer server({ServerAnswer{.delayMs = 300}});
    m_project.contactFormWebhookURL = server.url().toString();
    m_project.contactFormEmail = QStringLiteral("never@example.org");
    auto form = makeForm();
    form->show();
    fill(*form);
    fillCustomFields(*form);
    m_l10n->setCurrent(L10n::Language::french);

    sendButton(*form)->click();
    EXPECT_TRUE(form->isSubmitting());
    EXPECT_TRUE(sendButton(*form)->isBusy());
    EXPECT_FALSE(sendButton(*form)->isEnabled());
    EXPECT_EQ(sendButton(*form)->text(), QStringLiteral("Chargement…"));
    ASSERT_TRUE(waitUntilDone(*form));
    EXPECT_TRUE(form->isSent());
    EXPECT_TRUE(m_opened.isEmpty()) << "the webhook wins";

    ASSERT_EQ(server.requests().size(), 1);
    const ReceivedRequest &request = server.requests()[0];
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.headers.value("content-type"), "application/json");
    EXPECT_FALSE(request.body.contains('\n')) << "compact";
    const QJsonObject expected{
        {"project", "Villa Ocre"},
        {"projectID", "3F2B8C1E-9A4D-4E6F-B1C2-0D9E8F7A6B5C"},
        {"name", " Ana "},
        {"email", "ana@example.org "},
        {"phone", ""},
        {"message", "Call me & more\n= soon #1"},
        {"customFields", QJsonObject{{"Call back", "Oui"}, {"Floor", "3"}}},
    };
    EXPECT_EQ(QJsonDocument::fromJson(request.body).object(), expected);

    const QList<QAbstractButton *> buttons = form->findChildren<QAbstractButton *>();
    const auto thanksClose = std::find_if(buttons.cbegin(), buttons.cend(),
                                          [](QAbstractButton *b) { return b->text() == "Fermer" && b->isVisible(); });
    ASSERT_NE(thanksClose, buttons.cend());
    (*thanksClose)->click();
    EXPECT_EQ(m_closeCount, 1);
}

TEST_F(ContactFormView, FailuresKeepTheFieldsAndClearOnTheNextSend)
{
    LocalHttpServer server({ServerAnswer{.status = 500}, ServerAnswer{.delayMs = 300}});
    m_project.contactFormWebhookURL = server.url().toString();
    auto form = makeForm();
    fill(*form);
    fillCustomFields(*form);

    form->submitContactForm();
    ASSERT_TRUE(waitUntilDone(*form));
    EXPECT_EQ(form->errorMessage(), QStringLiteral("Server: code 500"));
    EXPECT_FALSE(form->isSent());
    EXPECT_EQ(form->answers().name, QStringLiteral(" Ana "));
    EXPECT_TRUE(sendButton(*form)->isEnabled());

    form->submitContactForm();
    EXPECT_EQ(form->errorMessage(), std::nullopt);
    ASSERT_TRUE(waitUntilDone(*form));
    EXPECT_TRUE(form->isSent());
}

TEST_F(ContactFormView, WebhookTimeoutIsReported)
{
    LocalHttpServer server({ServerAnswer{.neverAnswer = true}});
    m_project.contactFormWebhookURL = server.url().toString();
    m_project.contactFormCustomFields.clear();
    auto form = makeForm(ContactFormServices{{}, {}, 200ms});
    fill(*form);
    form->submitContactForm();
    ASSERT_TRUE(waitUntilDone(*form));
    EXPECT_EQ(form->errorMessage(), QStringLiteral("Error: The server did not answer in time."));
}

TEST_F(ContactFormView, NoRecipientIsAnError)
{
    m_project.contactFormWebhookURL = QStringLiteral("file:///tmp/hook");
    m_project.contactFormEmail = QString();
    m_project.contactFormCustomFields.clear();
    auto form = makeForm();
    fill(*form);
    form->submitContactForm();
    EXPECT_FALSE(form->isSubmitting());
    EXPECT_EQ(form->errorMessage(), QStringLiteral("No recipient configured."));
}

TEST_F(ContactFormView, MailDraftCarriesSubjectAndBodyWhole)
{
    m_project.contactFormEmail = QStringLiteral("agence@example.org");
    auto form = makeForm();
    fill(*form);
    fillCustomFields(*form);
    form->submitContactForm();
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_FALSE(form->isSent()) << "marked sent on the next turn";
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->isSent(); }, 1000));
    EXPECT_FALSE(form->isSubmitting());

    const MailtoParts parts = mailtoParts(m_opened[0]);
    EXPECT_EQ(parts.recipient, QStringLiteral("agence@example.org"));
    EXPECT_EQ(parts.subject, QStringLiteral("Tour contact: Villa Ocre"));
    EXPECT_EQ(parts.body, QStringLiteral("Name:  Ana \nEmail: ana@example.org \nPhone: \nCall back: Yes\nFloor: 3\n\n"
                                         "Message:\nCall me & more\n= soon #1"));
    EXPECT_EQ(parts.headerCount, 2);
}

TEST_F(ContactFormView, MailFailuresAreNotReportedAsSent)
{
    m_project.contactFormCustomFields.clear();
    m_project.contactFormEmail = QStringLiteral("agence@example.org?bcc=spy@example.org");
    auto refused = makeForm();
    fill(*refused);
    refused->submitContactForm();
    EXPECT_TRUE(m_opened.isEmpty());
    EXPECT_EQ(refused->errorMessage(), QStringLiteral("Error: The recipient address cannot be used for an e-mail."));

    m_project.contactFormEmail = QStringLiteral("agence@example.org");
    m_desktopAccepts = false;
    auto unopened = makeForm();
    fill(*unopened);
    unopened->submitContactForm();
    QTest::qWait(50);
    EXPECT_EQ(m_opened.size(), 1);
    EXPECT_FALSE(unopened->isSent());
    EXPECT_EQ(unopened->errorMessage(), QStringLiteral("Error: No mail application could open the message."));
}

TEST_F(ContactFormView, MailDraftReachesTheDesktopHandler)
{
    DesktopUrlCapture desktop({QStringLiteral("mailto")});
    m_project.contactFormEmail = QStringLiteral("élodie@exemple.fr");
    m_project.contactFormCustomFields.clear();
    m_project.name = QStringLiteral("Villa\r\nBcc: spy@example.org");
    auto form = makeForm(ContactFormServices{[](const QUrl &url) { return QDesktopServices::openUrl(url); }, {}});
    fill(*form);
    named<QLineEdit>(*form, "Name")->setText("Zoë & Co");
    form->submitContactForm();
    ASSERT_EQ(desktop.urls().size(), 1);
    const MailtoParts parts = mailtoParts(desktop.urls()[0]);
    EXPECT_EQ(parts.recipient, QStringLiteral("élodie@exemple.fr"));
    EXPECT_EQ(parts.subject, QStringLiteral("Tour contact: Villa  Bcc: spy@example.org"));
    EXPECT_TRUE(parts.body.startsWith("Name: Zoë & Co\n"));
    EXPECT_TRUE(parts.body.endsWith("Message:\nCall me & more\n= soon #1"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->isSent(); }, 1000));
}

TEST_F(ContactFormView, DraftOfAVeryLongTourNameOrFieldLabelIsShortAndHandedOver)
{
    m_project.contactFormEmail = QStringLiteral("agence@example.org");
    m_project.contactFormCustomFields = {
        FormField{QUuid::createUuid(), QString(200000, u'b'), FormFieldType::checkbox, false, std::nullopt}};
    m_project.name = QString(200000, u'a');
    auto form = makeForm();
    fill(*form);
    form->submitContactForm();
    ASSERT_EQ(m_opened.size(), 1);
    EXPECT_LT(m_opened[0].toEncoded().size(), 1000);
    const QString subject = mailtoParts(m_opened[0]).subject;
    EXPECT_EQ(subject, QStringLiteral("Tour contact: ") + QString(200 - 14, u'a') + QChar(0x2026));
    EXPECT_TRUE(mailtoParts(m_opened[0]).body.contains(QString(200, u'b') + QChar(0x2026) + QStringLiteral(": No\n")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return form->isSent(); }, 1000));
}

TEST_F(ContactFormView, AFieldLabelWrapsWithinTheCardInsideAWordAndAShortOneTakesOneLine)
{
    const FormField longLabel{QUuid::createUuid(), QString(1 << 20, u'm'), FormFieldType::text, true, std::nullopt};
    m_project.contactFormCustomFields = {longLabel, m_floor};
    auto form = makeForm();
    form->show();
    const QScrollArea *scroll = form->findChild<QScrollArea *>();
    EXPECT_LE(scroll->widget()->width(), scroll->viewport()->width());
    const auto *floor = named<WrappingText>(*form, "Floor");
    EXPECT_EQ(floor->height(), floor->minimumSizeHint().height());
}

TEST_F(ContactFormView, ClosingDuringAPostIsSafe)
{
    m_project.contactFormCustomFields.clear();
    QNetworkAccessManager shared;
    for (const bool ownNetwork : {true, false}) {
        LocalHttpServer server({ServerAnswer{.delayMs = 300}});
        m_project.contactFormWebhookURL = server.url().toString();
        auto form = makeForm(ContactFormServices{{}, ownNetwork ? nullptr : &shared});
        form->show();
        fill(*form);
        form->submitContactForm();
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.requests().size() == 1; }, 5000));
        QPointer<QNetworkReply> reply = form->findChild<QNetworkReply *>();
        if (!reply)
            reply = shared.findChild<QNetworkReply *>();
        ASSERT_NE(reply, nullptr) << "the POST runs on the form's own network or on the one it was given";
        QPointer<LumivaneContactFormView> closed = form.get();
        std::optional<QNetworkReply::NetworkError> ended;
        bool formGoneAtTheEnd = false;
        QObject::connect(reply, &QNetworkReply::finished, reply, [&, reply] {
            ended = reply->error();
            formGoneAtTheEnd = closed.isNull();
        });
        form.reset();
        if (ownNetwork) {
            // The form's own network goes with it, and the POST with the network.
            EXPECT_TRUE(reply.isNull());
            continue;
        }
        // On the viewer's network the message still reaches the server, and
        // its answer comes when there is no form left to tell.
        EXPECT_TRUE(QTest::qWaitFor([&] { return reply.isNull(); }, 5000)) << "the reply is let go";
        EXPECT_EQ(ended, QNetworkReply::NoError);
        EXPECT_TRUE(formGoneAtTheEnd);
    }
}

TEST_F(ContactFormView, TheMessageIsFilledAsTheOtherFields)
{
    auto form = makeForm();
    form->show();
    const QImage shot = form->grab().toImage();
    const auto fill = [&](const QWidget *field) {
        return shot.pixelColor(field->mapTo(form.get(), field->rect().center())).name();
    };
    EXPECT_EQ(fill(named<QPlainTextEdit>(*form, "Message (optional)")), fill(named<QLineEdit>(*form, "Name")));
}

TEST_F(ContactFormView, BackdropClickClosesButTheCardDoesNot)
{
    auto form = makeForm();
    form->show();
    QTest::mouseClick(form.get(), Qt::LeftButton, {}, QPoint(form->width() / 2, form->height() / 2));
    EXPECT_EQ(m_closeCount, 0);
    QTest::mouseClick(form.get(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(m_closeCount, 1);
    named<QAbstractButton>(*form, "Close")->click();
    EXPECT_EQ(m_closeCount, 2);
}

} // namespace

namespace {

// A shown form with every kind of field, more than its card shows at once.
class ContactFormKeyboard : public ContactFormView
{
protected:
    std::unique_ptr<LumivaneContactFormView> makeShortForm()
    {
        const FormField more{QUuid::createUuid(), "More", FormFieldType::textarea, false, std::nullopt};
        m_project.contactFormCustomFields = {m_floor, m_notes, more, m_callBack};
        auto form = makeForm();
        form->show();
        QApplication::setActiveWindow(form.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        return form;
    }
};

TEST_F(ContactFormKeyboard, TabLeavesTheTextAreasAndBringsTheCheckboxIntoView)
{
    auto form = makeShortForm();
    auto *message = named<QPlainTextEdit>(*form, "Message (optional)");
    message->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(message, "Hi");
    QTest::keyClick(message, Qt::Key_Tab);
    EXPECT_EQ(message->toPlainText(), QStringLiteral("Hi")) << "no tab typed";
    EXPECT_FALSE(message->hasFocus());

    auto *notes = named<QPlainTextEdit>(*form, "Notes");
    notes->setFocus(Qt::TabFocusReason);
    QTest::keyClick(notes, Qt::Key_Tab);
    EXPECT_TRUE(notes->toPlainText().isEmpty());

    auto *box = named<QCheckBox>(*form, "Call back");
    named<QLineEdit>(*form, "Name")->setFocus(Qt::BacktabFocusReason);
    ASSERT_TRUE(box->visibleRegion().isEmpty()) << "below the card's view at first";
    box->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(box->visibleRegion().isEmpty()) << "scrolled into the card's view";
}

TEST_F(ContactFormKeyboard, TheCardIsANamedDialogWhoseSendAndCloseTakeTheFocus)
{
    auto form = makeShortForm();
    QAccessibleInterface *card = QAccessible::queryAccessibleInterface(form.get());
    EXPECT_EQ(card->role(), QAccessible::Dialog);
    EXPECT_EQ(card->text(QAccessible::Name), QStringLiteral("Contact us"));
    fill(*form);
    fillCustomFields(*form);
    ContactSendButton *send = sendButton(*form);
    ASSERT_TRUE(send->isEnabled());
    EXPECT_TRUE(send->focusPolicy() & Qt::TabFocus);
    int buttonsTakingFocus = 0;
    for (QAbstractButton *button : form->findChildren<QAbstractButton *>())
        buttonsTakingFocus += button->isVisible() && (button->focusPolicy() & Qt::TabFocus);
    EXPECT_EQ(buttonsTakingFocus, 3) << "close, the checkbox and send";
}

} // namespace

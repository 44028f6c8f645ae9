#include "panels/feedback/VisitorFeedbackSheet.h"
#include "tests/support/DesktopUrlCapture.h"
#include "tests/panels/support/PanelTestSupport.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMap>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class FeedbackSheet : public ::testing::Test
{
protected:
    std::unique_ptr<VisitorFeedbackSheet> makeSheet(const QString &recipient = QStringLiteral("avis@example.org"),
                                                    std::function<bool(const QUrl &)> open = {})
    {
        if (!open) {
            open = [this](const QUrl &url) {
                m_opened.append(url);
                return false;
            };
        }
        auto sheet = std::make_unique<VisitorFeedbackSheet>(QStringLiteral("Villa Ocre"), recipient, *m_l10n,
                                                            std::move(open));
        sheet->onClose = [this] { ++m_closeCount; };
        sheet->resize(1000, 700);
        sheet->show();
        return sheet;
    }

    static QAbstractButton *button(const VisitorFeedbackSheet &sheet, const QString &name)
    {
        for (QAbstractButton *candidate : sheet.findChildren<QAbstractButton *>()) {
            if (candidate->text() == name || candidate->accessibleName() == name)
                return candidate;
        }
        ADD_FAILURE() << "no button " << name.toStdString();
        return nullptr;
    }

    static void pressSendShortcut(QWidget *target) { QTest::keyClick(target, Qt::Key_Return, Qt::ControlModifier); }

    std::unique_ptr<L10n> m_l10n = panelTestL10n(L10n::Language::english);
    QList<QUrl> m_opened;
    int m_closeCount = 0;
};

TEST_F(FeedbackSheet, RatingIsRequiredAndNeverReturnsToNone)
{
    auto sheet = makeSheet();
    QPlainTextEdit *comment = sheet->findChild<QPlainTextEdit *>();
    EXPECT_FALSE(comment->isVisible());
    EXPECT_FALSE(button(*sheet, "Send")->isEnabled());
    pressSendShortcut(sheet.get());
    sheet->sendFeedbackMail();
    EXPECT_TRUE(m_opened.isEmpty());
    EXPECT_FALSE(sheet->isSent());

    button(*sheet, "Positive")->click();
    EXPECT_EQ(sheet->rating(), Rating::positive);
    EXPECT_TRUE(QTest::qWaitFor([&] { return comment->isVisible(); }, 1000));
    EXPECT_TRUE(button(*sheet, "Send")->isEnabled());
    button(*sheet, "Positive")->click();
    EXPECT_EQ(sheet->rating(), Rating::positive);
    button(*sheet, "Negative")->click();
    EXPECT_EQ(sheet->rating(), Rating::negative);
}

TEST_F(FeedbackSheet, ControlReturnInTheCommentSendsTheDraft)
{
    auto sheet = makeSheet(QStringLiteral("avis@example.org"));
    button(*sheet, "Negative")->click();
    QPlainTextEdit *comment = sheet->findChild<QPlainTextEdit *>();
    comment->setPlainText(QStringLiteral(" Cold & dark\nrooms #2 "));
    comment->setFocus();
    pressSendShortcut(comment);
    EXPECT_EQ(comment->toPlainText(), QStringLiteral(" Cold & dark\nrooms #2 ")) << "no line break added";

    ASSERT_EQ(m_opened.size(), 1);
    const MailtoParts parts = mailtoParts(m_opened[0]);
    EXPECT_EQ(parts.recipient, QStringLiteral("avis@example.org"));
    EXPECT_EQ(parts.subject, QStringLiteral("Visitor feedback · Villa Ocre"));
    EXPECT_EQ(parts.body,
              QStringLiteral("Rating: Negative\n\n Cold & dark\nrooms #2 \n\n---\nSent from Lumivane"));
    EXPECT_EQ(parts.headerCount, 2);
    EXPECT_TRUE(sheet->isSent()) << "the desktop's answer is not looked at";
    EXPECT_TRUE(button(*sheet, "Close")->isVisible());
}

TEST_F(FeedbackSheet, DraftReachesTheDesktopHandler)
{
    DesktopUrlCapture desktop({QStringLiteral("mailto")});
    auto sheet = makeSheet(QStringLiteral("élodie@exemple.fr"), [](const QUrl &url) { return QDesktopServices::openUrl(url); });
    m_l10n->setCurrent(L10n::Language::french);
    sheet->setRating(Rating::positive);
    pressSendShortcut(sheet.get());
    ASSERT_EQ(desktop.urls().size(), 1);
    const MailtoParts parts = mailtoParts(desktop.urls()[0]);
    EXPECT_EQ(parts.recipient, QStringLiteral("élodie@exemple.fr"));
    EXPECT_EQ(parts.body, QStringLiteral("Avis : Positif\n\n---\nEnvoyé depuis Lumivane"));
}

TEST_F(FeedbackSheet, UnusableRecipientShowsAnErrorInsteadOfThanks)
{
    auto sheet = makeSheet(QStringLiteral("avis@example.org?bcc=spy@example.org"));
    sheet->setRating(Rating::positive);
    sheet->sendFeedbackMail();
    EXPECT_TRUE(m_opened.isEmpty());
    EXPECT_FALSE(sheet->isSent());
    const QList<QLabel *> labels = sheet->findChildren<QLabel *>();
    EXPECT_TRUE(std::any_of(labels.cbegin(), labels.cend(), [](QLabel *label) {
        return label->isVisible() && label->text() == "Error: The recipient address cannot be used for an e-mail.";
    }));
}

TEST_F(FeedbackSheet, LaterBackdropAndThanksCloseTheCard)
{
    auto sheet = makeSheet();
    QTest::mouseClick(sheet.get(), Qt::LeftButton, {}, QPoint(sheet->width() / 2, sheet->height() / 2));
    EXPECT_EQ(m_closeCount, 0) << "a click on the card";
    button(*sheet, "Later")->click();
    EXPECT_EQ(m_closeCount, 1);
    EXPECT_TRUE(sheet->later());
    EXPECT_EQ(m_closeCount, 2);

    sheet->setRating(Rating::positive);
    sheet->sendFeedbackMail();
    EXPECT_FALSE(sheet->later()) << "the thanks view has no later button";
    EXPECT_EQ(m_closeCount, 2);
    button(*sheet, "Close")->click();
    EXPECT_EQ(m_closeCount, 3);
    QTest::mouseClick(sheet.get(), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_EQ(m_closeCount, 4);
}

// The card's colours for the application's palette, light or dark.
struct AppearanceCase
{
    const char *name;
    QColor window;
    QColor card;
    QColor title;
    QColor question;
};

class FeedbackAppearance : public FeedbackSheet, public ::testing::WithParamInterface<AppearanceCase>
{
};

TEST_P(FeedbackAppearance, CardTakesTheColoursOfTheApplicationsAppearance)
{
    const AppearanceCase &c = GetParam();
    const QPalette saved = QGuiApplication::palette();
    QPalette palette = saved;
    palette.setColor(QPalette::Window, c.window);
    QGuiApplication::setPalette(palette);
    auto sheet = makeSheet();
    const QImage image = sheet->grab().toImage();
    QGuiApplication::setPalette(saved);

    EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() / 2 + 70), c.card);
    EXPECT_LT(image.pixelColor(3, 3).lightness(), 80) << "the backdrop stays dark";
    QMap<QString, QColor> textColours;
    for (QLabel *label : sheet->findChildren<QLabel *>())
        textColours.insert(label->text(), label->palette().color(QPalette::WindowText));
    EXPECT_EQ(textColours.value("Your opinion matters"), c.title);
    EXPECT_EQ(textColours.value("How was the tour?"), c.question);
}

INSTANTIATE_TEST_SUITE_P(
    Palettes, FeedbackAppearance,
    ::testing::Values(AppearanceCase{"light", QColor("#EFEFEF"), QColor("#FFFFFF"), QColor("#1B2A4E"), QColor("#5A6478")},
                      AppearanceCase{"dark", QColor("#202020"), QColor("#1B2A4E"), QColor("#E8DCC4"), QColor("#A8A296")}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace

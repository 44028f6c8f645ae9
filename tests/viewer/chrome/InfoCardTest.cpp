#include "ChromeFixture.h"

#include "model/DisplayText.h"
#include "tests/support/DesktopUrlCapture.h"
#include "viewer/chrome/ChromeBindings.h"
#include "viewer/chrome/HotspotInfoCard.h"
#include "viewer/chrome/ImageAttachmentRow.h"
#include "viewer/chrome/InfoCardRows.h"
#include "widgets/SymbolButton.h"
#include "widgets/WrappingText.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>

namespace {

// An extracted package with an attachments folder, a file beside it that no
// attachment may reach, and a resolver that, unlike the shell's, appends any
// payload: the card must go through the controller's checks.
class InfoCardFixture : public ChromeFixture
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_package.isValid());
        QDir(m_package.path()).mkpath("attachments");
        QImage photo(400, 300, QImage::Format_RGB32);
        photo.fill(Qt::darkCyan);
        ASSERT_TRUE(photo.save(m_package.filePath("attachments/photo.png")));
        ASSERT_TRUE(photo.save(m_package.filePath("secret.png")));
        write("attachments/broken.png", "not an image");
        write("attachments/tone.wav", QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16) + QByteArray(28, '\0'));
        write("attachments/tune.mp3", "#!/bin/sh\necho not a sound\n");
        QFile::link("../secret.png", attachments("escape.png"));
        ViewerTour tour;
        tour.attachmentURLResolver = [this](const QString &payload) {
            return QUrl::fromLocalFile(m_package.path() + "/attachments/" + payload);
        };
        start(TestTours::tour(2), tour);
        card = &layer(new HotspotInfoCard(language));
        bindHotspotInfoCard(*card, *controller);
    }

    void write(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_package.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QString attachments(const QString &name) const { return m_package.filePath("attachments/" + name); }

    static HotspotAttachment attachment(AttachmentKind kind, const QString &payload, const QString &title = {})
    {
        return {QUuid::createUuid(), kind, title, payload};
    }

    /// Shows a card for a hotspot with these attachments and waits until its
    /// pictures have arrived or fallen back.
    void show(const QList<HotspotAttachment> &list, const QString &title = QStringLiteral("Kitchen"))
    {
        Hotspot hotspot = TestTours::infoHotspot(title, QStringLiteral("A bright room."));
        hotspot.attachments = list;
        controller->showInfoCard(hotspot);
        ASSERT_TRUE(QTest::qWaitFor([this] {
            for (ImageAttachmentRow *row : card->findChildren<ImageAttachmentRow *>())
                if (row->face() == ImageAttachmentRow::Face::loading)
                    return false;
            return true;
        }));
        QTest::qWait(1); // rows added to a shown card appear on the next pass of the event loop
    }

    QTemporaryDir m_package;
    HotspotInfoCard *card = nullptr;
    // Every scheme a tour could name, so that no run opens a browser or a player.
    DesktopUrlCapture catcher{QStringList{"http", "https", "file", "mailto", "tel", "javascript", "ftp", "data"}};
};

TEST_F(InfoCardFixture, RowsByKind)
{
    show({attachment(AttachmentKind::pdf, "plan.pdf"), attachment(AttachmentKind::image, "photo.png", "View"),
          attachment(AttachmentKind::image, "broken.png"), attachment(AttachmentKind::image, "escape.png", "Secret"),
          attachment(AttachmentKind::video, "clip.mp4", "Clip"), attachment(AttachmentKind::sound, "tone.wav"),
          attachment(AttachmentKind::text, "Quartz worktop.", "Note"), attachment(AttachmentKind::link, "example.com/a")});

    QStringList buttons;
    for (AttachmentButtonRow *row : card->findChildren<AttachmentButtonRow *>())
        buttons << row->text();
    // The unreadable picture and the one outside the package fall back to
    // buttons, with the kind's text when they have no title.
    EXPECT_EQ(buttons, (QStringList{"Open document", "View photo", "Secret", "Clip", "example.com/a"}));
    const QList<ImageAttachmentRow *> images = card->findChildren<ImageAttachmentRow *>();
    ASSERT_EQ(images.size(), 3);
    EXPECT_EQ(images[0]->face(), ImageAttachmentRow::Face::picture);
    EXPECT_EQ(images[1]->face(), ImageAttachmentRow::Face::fallback);
    EXPECT_EQ(images[2]->face(), ImageAttachmentRow::Face::fallback);

    const QList<SoundAttachmentRow *> sounds = card->findChildren<SoundAttachmentRow *>();
    ASSERT_EQ(sounds.size(), 1);
    EXPECT_EQ(sounds[0]->accessibleName(), "Listen");
    EXPECT_EQ(sounds[0]->findChild<SymbolButton *>()->accessibleName(), "Play audio "); // the empty title, unchanged
    ASSERT_EQ(card->findChildren<TextAttachmentBlock *>().size(), 1);
    QStringList texts;
    for (WrappingText *text : card->findChildren<TextAttachmentBlock *>().first()->findChildren<WrappingText *>())
        texts << text->text();
    EXPECT_TRUE(texts.contains("Note") && texts.contains("Quartz worktop."));
}

TEST_F(InfoCardFixture, FilesOpenInTheLightbox)
{
    show({attachment(AttachmentKind::pdf, "plan.pdf", "Plan"), attachment(AttachmentKind::image, "photo.png", "View"),
          attachment(AttachmentKind::image, "broken.png", "Broken"), attachment(AttachmentKind::image, "escape.png")});
    const ViewerState &state = controller->state();
    const QList<AttachmentButtonRow *> buttons = card->findChildren<AttachmentButtonRow *>();
    ASSERT_EQ(buttons.size(), 3);

    click(buttons[0]);
    ASSERT_TRUE(state.lightboxContent);
    EXPECT_EQ(*state.lightboxContent, (LightboxContent{LightboxContent::Kind::pdf, QUrl::fromLocalFile(attachments("plan.pdf")), "Plan"}));

    AttachmentThumbnail *thumbnail = card->findChild<AttachmentThumbnail *>();
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(thumbnail->pictureRect().height(), 260); // 4:3 in 484 wide is too tall: the height limit wins
    QTest::mouseClick(thumbnail, Qt::LeftButton, {}, thumbnail->pictureRect().center().toPoint());
    EXPECT_EQ(*state.lightboxContent, (LightboxContent{LightboxContent::Kind::image, QUrl::fromLocalFile(attachments("photo.png")), "View"}));

    // An unreadable picture still opens the lightbox, which shows the failure;
    // one outside the package opens it on nothing.
    click(buttons[1]);
    EXPECT_EQ(state.lightboxContent->url, QUrl::fromLocalFile(attachments("broken.png")));
    click(buttons[2]);
    EXPECT_EQ(state.lightboxContent->kind, LightboxContent::Kind::image);
    EXPECT_EQ(state.lightboxContent->url, QUrl());
    EXPECT_TRUE(catcher.urls().isEmpty());
    EXPECT_TRUE(state.selectedInfoHotspot); // the card stays under the lightbox
}

struct HandOffCase
{
    const char *name;
    AttachmentKind kind;
    QString payload;
    QString expected; // the URL handed to the desktop; "file:" + name for an attachment; empty for none
};

class InfoCardHandOff : public InfoCardFixture, public ::testing::WithParamInterface<HandOffCase>
{
};

TEST_P(InfoCardHandOff, OnlyWhatTheRulesAllowReachesTheDesktop)
{
    const HandOffCase &c = GetParam();
    show({attachment(c.kind, c.payload)});
    if (c.kind == AttachmentKind::sound)
        click(card->findChild<SoundAttachmentRow *>()->findChild<SymbolButton *>());
    else
        click(card->findChild<AttachmentButtonRow *>());
    QList<QUrl> expected;
    if (c.expected.startsWith("file:"))
        expected << QUrl::fromLocalFile(attachments(c.expected.mid(5)));
    else if (!c.expected.isEmpty())
        expected << QUrl(c.expected);
    EXPECT_EQ(catcher.urls(), expected) << QUrl::toStringList(catcher.urls()).join(' ').toStdString();
    EXPECT_FALSE(controller->state().lightboxContent);
}

const HandOffCase kHandOffs[] = {
    {"BareAddress", AttachmentKind::link, "example.com/Path", "https://example.com/Path"},
    {"WebAddress", AttachmentKind::link, "http://example.org/x?y=1", "http://example.org/x?y=1"},
    {"UpperCaseScheme", AttachmentKind::link, "HTTPS://Example.com/A", "https://example.com/A"},
    {"SchemeLikeWord", AttachmentKind::link, "httpfoo", ""},
    {"Script", AttachmentKind::link, "javascript:alert(1)", ""},
    {"LocalFileStaysOnTheWeb", AttachmentKind::link, "file:///etc/passwd", "https://file///etc/passwd"},
    {"Empty", AttachmentKind::link, "", ""},
    {"Sound", AttachmentKind::sound, "tone.wav", "file:tone.wav"},
    {"ScriptNamedAsSound", AttachmentKind::sound, "tune.mp3", ""},
    {"MissingSound", AttachmentKind::sound, "absent.wav", ""},
    {"SoundOutside", AttachmentKind::sound, "../secret.png", ""},
    {"SoundThroughLink", AttachmentKind::sound, "escape.png", ""},
};

INSTANTIATE_TEST_SUITE_P(Rules, InfoCardHandOff, ::testing::ValuesIn(kHandOffs),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(InfoCardFixture, HeaderReadsAndCloses)
{
    Hotspot hotspot = TestTours::infoHotspot(QString(), QStringLiteral("Only the description."));
    hotspot.infoTitle.reset();
    hotspot.infoTitleTranslations = Translations{{"fr", "Cuisine"}};
    controller->showInfoCard(hotspot);
    WrappingText *title = card->card()->findChildren<WrappingText *>().first();
    EXPECT_EQ(title->text(), "Information");
    language.setCurrent(L10n::Language::french);
    EXPECT_EQ(title->text(), "Cuisine");
    language.setCurrent(L10n::Language::english);

    const QList<SymbolButton *> buttons = card->card()->findChildren<SymbolButton *>();
    ASSERT_EQ(buttons.size(), 2);
    EXPECT_EQ(buttons[0]->toolTip(), "Listen to info point");
    EXPECT_EQ(buttons[0]->accessibleName(), "Listen to info point out loud");
    click(buttons[0]);
    EXPECT_EQ(effects.log, QStringList{"speak:Only the description."}); // the default title is not read
    click(buttons[1]);
    EXPECT_EQ(effects.log.last(), "speech.stop");
    EXPECT_FALSE(controller->state().selectedInfoHotspot);
    EXPECT_EQ(card->inputs().hotspot, hotspot); // kept while the card fades out
}

// Tour texts have no length limit: a huge description scrolls inside a card
// that stays within the station view.
TEST_F(InfoCardFixture, HugeTextsScrollInsideTheView)
{
    QString words;
    for (int i = 0; i < 10000; ++i)
        words += QStringLiteral("word%1 ").arg(i);
    Hotspot hotspot = TestTours::infoHotspot(QString(2000, u'T'), words);
    controller->showInfoCard(hotspot);
    QTest::qWait(10);
    const QRect cardRect = card->card()->geometry().marginsRemoved(card->card()->contentsMargins());
    EXPECT_EQ(cardRect.width(), 520);
    EXPECT_GT(cardRect.top(), 0);
    EXPECT_LE(cardRect.bottom(), stationView.height());
    QScrollBar *scroll = card->findChild<QScrollArea *>()->verticalScrollBar();
    EXPECT_GT(scroll->maximum(), 0);
    EXPECT_TRUE(card->mask().boundingRect().contains(cardRect.center())); // the mouse reaches the card
    EXPECT_FALSE(card->mask().contains(QPoint(5, 5)));                   // and the panorama around it
}

} // namespace

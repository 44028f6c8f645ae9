#include "ChromeFixture.h"

#include "model/SystemFont.h"
#include "tests/support/HostileTexts.h"
#include "tests/support/WidgetLookup.h"
#include "viewer/chrome/ChromeBindings.h"
#include "viewer/chrome/HeaderBar.h"
#include "viewer/chrome/HotspotInfoCard.h"
#include "viewer/chrome/InfoCardRows.h"
#include "viewer/chrome/KioskHeader.h"
#include "widgets/CapsuleLabel.h"
#include "widgets/WrappingText.h"

namespace {

class ChromeLongText : public ChromeFixture, public testing::WithParamInterface<HostileTexts::Text>
{
};

// Every station named with the hostile text, and an info card whose title,
// description and attachments all carry it.
LumivaneProject hostileTour(const QString &text)
{
    LumivaneProject project = TestTours::tour(2);
    for (Station &station : project.stations)
        station.name = text;
    Hotspot card = TestTours::infoHotspot(text, text);
    card.attachments = {HotspotAttachment{QUuid::createUuid(), AttachmentKind::text, text, text},
                        HotspotAttachment{QUuid::createUuid(), AttachmentKind::link, text, "example.org"},
                        HotspotAttachment{QUuid::createUuid(), AttachmentKind::sound, text, "a.wav"}};
    project.stations[0].hotspots << card;
    project.kioskEnabled = true;
    return project;
}

// Tour texts have no length limit: the headers and the info card lay out
// only what they can show of each, show control characters as spaces and
// keep the author's line breaks only where a text wraps, and the card stays
// within the view.
TEST_P(ChromeLongText, LayOutWhatTheyShow)
{
    start(hostileTour(GetParam().text));
    HeaderBar &header = layer(new HeaderBar(language));
    bindHeaderBar(header, *controller);
    KioskHeader &kiosk = layer(new KioskHeader(language));
    bindKioskHeader(kiosk, *controller);
    HotspotInfoCard &card = layer(new HotspotInfoCard(language));
    bindHotspotInfoCard(card, *controller);
    controller->showInfoCard(controller->currentStation()->hotspots.back());
    QTest::qWait(1);

    for (const QWidget *chrome : {static_cast<QWidget *>(&header), static_cast<QWidget *>(&kiosk)}) {
        const QList<CapsuleLabel *> labels = widgetsOfType<CapsuleLabel>(chrome);
        ASSERT_FALSE(labels.isEmpty());
        const QString name = labels.first()->text();
        EXPECT_LE(name.size(), DisplayLength::line + 1);
        EXPECT_FALSE(HostileTexts::hasControlCharacter(name, LineBreaks::asSpaces));
    }
    const QList<WrappingText *> texts = card.findChildren<WrappingText *>();
    ASSERT_EQ(texts.size(), 4); // title, description, and the text attachment's title and text
    for (const WrappingText *text : texts) {
        EXPECT_LE(text->text().size(), DisplayLength::scrolling + 1);
        EXPECT_FALSE(HostileTexts::hasControlCharacter(text->text(), LineBreaks::kept));
    }
    for (const AttachmentButtonRow *row : card.findChildren<AttachmentButtonRow *>()) {
        EXPECT_LE(row->text().size(), DisplayLength::line + 1);
        EXPECT_FALSE(HostileTexts::hasControlCharacter(row->text(), LineBreaks::asSpaces));
    }
    const QRect cardRect = card.card()->geometry().marginsRemoved(card.card()->contentsMargins());
    EXPECT_GT(cardRect.top(), 0);
    EXPECT_LE(cardRect.bottom(), stationView.height());
}

INSTANTIATE_TEST_SUITE_P(Hostile, ChromeLongText, testing::ValuesIn(HostileTexts::all()),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace

#pragma once

#include "ViewerSheetFixture.h"

#include "tests/panels/cover/CoverTestTours.h"

#include <QDir>

#include <map>
#include <memory>

// A viewer sheet over one of the sample tours that the sample-tour writer
// makes, each unpacked once per test suite.
class SampleTourSheetFixture : public ViewerSheetFixture
{
public:
    static void TearDownTestSuite() { tours.clear(); }

    /// The sample tour in a sheet of the given size, started, with narration
    /// at every station (files that are never played).
    void openSample(SampleTourVariant variant, QSize size)
    {
        std::unique_ptr<UnpackedTour> &sample = tours[variant];
        if (!sample)
            sample = unpackedSampleTour(variant, 512);
        ASSERT_NE(sample, nullptr);
        const QDir unpacked(sample->folder.filePath(QStringLiteral("tour")));
        ViewerTour tour;
        tour.project = sample->project;
        tour.projectID = tour.project.id;
        tour.photoURLResolver = [unpackedTour = sample.get()](const QUuid &id) -> std::optional<QUrl> {
            return unpackedTour->photoURL(id);
        };
        tour.attachmentURLResolver = [unpacked](const QString &payload) {
            return QUrl::fromLocalFile(unpacked.filePath(QStringLiteral("attachments/") + payload));
        };
        tour.audioURLResolver = [unpacked](const QUuid &) -> std::optional<QUrl> {
            return QUrl::fromLocalFile(unpacked.filePath(QStringLiteral("audio/none.m4a")));
        };
        tour.dismiss = [this] { ++dismissals; };
        sheet = std::make_unique<LumivaneViewerSheet>(std::move(tour), services);
        sheet->resize(size);
        sheet->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet.get()));
        ASSERT_EQ(sheet->size(), size);
        controller().startTour();
        controller().hideSplash();
    }

    QWidget *shownView(ViewerLayer layer) const { return shownIn(layer).value(0); }

    static inline std::map<SampleTourVariant, std::unique_ptr<UnpackedTour>> tours;
};

/// The first attachment of that kind among the tour's hotspots, in station order.
inline HotspotAttachment firstAttachment(const ViewerController &c, AttachmentKind kind)
{
    for (const Station &station : c.orderedStations()) {
        for (const Hotspot &hotspot : station.hotspots) {
            for (const HotspotAttachment &attachment : hotspot.attachments) {
                if (attachment.kind == kind)
                    return attachment;
            }
        }
    }
    ADD_FAILURE() << "the tour has no attachment of that kind";
    return {};
}

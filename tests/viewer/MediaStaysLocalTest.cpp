#include "support/ViewerSheetFixture.h"

#include "media/sound/LumivaneAmbientPlayer.h"
#include "model/LumivaneStorageFolders.h"
#include "panels/lightbox/LightboxVideoPlayer.h"
#include "tests/panels/support/LocalHttpServer.h"
#include "tests/support/MediaDisguises.h"
#include "tests/support/WidgetLookup.h"

#include <QDir>
#include <QFile>
#include <QMediaPlayer>

using namespace MediaDisguises;

namespace {

// Narration, the ambient loop, a sound handed to the desktop and a movie in
// the lightbox each get files that pass for sound by their name and first
// bytes but name an address: none plays, none goes to the desktop, and the
// server they name hears nothing.
TEST_F(ViewerSheetFixture, MediaThatNamesAnAddressIsNeitherPlayedNorHandedOn)
{
    LocalHttpServer server({ServerAnswer{404}});
    LumivaneProject project = TestTours::tour(1);
    project.renderMode = RenderMode::classic; // no panorama: no GL here
    openStarted(project);
    const QDir attachments(LumivaneStorageFolders::attachmentsFolder(controller().project().id).toLocalFile());
    LumivaneAmbientPlayer ambient;
    for (const Kind kind : allKinds()) {
        for (const QByteArray &tag : {QByteArray(), id3Tag()}) {
            for (const QString extension : {".mp3", ".m4a", ".mp4"}) {
                const QString fileName = name(kind) + (tag.isEmpty() ? "" : "-tagged") + extension;
                SCOPED_TRACE(fileName.toStdString());
                const QByteArray bytes = tag + disguise(kind, server.url("/" + fileName));
                QFile file(attachments.filePath(fileName));
                ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
                file.close();

                EXPECT_FALSE(narration.play(QUrl::fromLocalFile(file.fileName())));
                ambient.play(bytes);
                EXPECT_FALSE(ambient.isPlaying());
                controller().openAttachment({QUuid::createUuid(), AttachmentKind::sound, {}, fileName});
                controller().openAttachment({QUuid::createUuid(), AttachmentKind::video, {}, fileName});
                const QList<LightboxVideoPlayer *> videos = widgetsOfType<LightboxVideoPlayer>(sheet.get());
                ASSERT_FALSE(videos.isEmpty());
                for (const LightboxVideoPlayer *video : videos)
                    EXPECT_TRUE(video->player()->source().isEmpty());
            }
        }
    }
    QTest::qWait(500);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(server.requests().isEmpty());
}

} // namespace

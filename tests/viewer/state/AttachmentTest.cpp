#include "ViewerTestFixture.h"

#include "viewer/state/AttachmentFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// An extracted package whose resolver, unlike the shell's, appends any
// payload: the viewer's own checks must keep files inside "attachments".
class AttachmentTest : public ViewerTestFixture
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_package.isValid());
        QDir(m_package.path()).mkpath("attachments");
        write("secret.txt", "outside");
        write("attachments/plan.pdf", "%PDF-1.4");
        write("attachments/tone.wav", QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16) + QByteArray(28, '\0'));
        write("attachments/tune.mp3", "#!/bin/sh\necho not a sound\n");
        // An ID3 tag and two MPEG audio frames: sound by content.
        const QByteArray frame = QByteArray("\xff\xfb\x90\x64", 4) + QByteArray(413, '\0');
        const QByteArray mp3 = QByteArray("ID3\x04\0\0\0\0\0\0", 10) + frame + frame;
        write("attachments/song.mp3", mp3);
        write("attachments/tune.desktop", mp3);
        write("attachments/tune", mp3);
        write("attachments/list.m3u", "#EXTM3U\nhttp://example.org/stream.mp3\n");
        // Playlists, filed under audio/ by name and by content alike.
        write("attachments/list.mp3", "#EXTM3U\nhttp://example.org/stream.mp3\n");
        write("attachments/radio.pls", "[playlist]\nFile1=http://example.org/stream.mp3\nNumberOfEntries=1\nVersion=2\n");
        write("attachments/show.asx", "<asx version=\"3.0\"><entry><ref href=\"http://example.org/a.mp3\"/></entry></asx>\n");
        // iRiver's: a count and a mark, then a 512-byte entry per file, its
        // path in UTF-16BE after where the file name starts in it.
        QByteArray entry("\0\x08", 2);
        for (const char letter : QByteArray("\\MUSIC\\a.mp3"))
            entry += QByteArray(1, '\0') + letter;
        write("attachments/tracks.pla", QByteArray("\0\0\0\1iriver UMS PLA", 18).leftJustified(512, '\0')
                                            + entry.leftJustified(512, '\0'));
        QFile::link("plan.pdf", attachments("inner.pdf"));
        QFile::link("../secret.txt", attachments("escape.pdf"));
        QFile::link("/nonexistent/x.pdf", attachments("dangling.pdf"));
        ViewerTour tour;
        tour.attachmentURLResolver = [this](const QString &payload) {
            return QUrl::fromLocalFile(m_package.path() + "/attachments/" + payload);
        };
        openStarted(TestTours::tour(1), tour);
    }

    void write(const QString &name, const QByteArray &bytes)
    {
        QFile file(m_package.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QString attachments(const QString &name) const { return m_package.filePath("attachments/" + name); }

    static HotspotAttachment attachment(AttachmentKind kind, const QString &payload)
    {
        return {QUuid::createUuid(), kind, "Title", payload};
    }

    QTemporaryDir m_package;
};

TEST_F(AttachmentTest, FilesOnlyInsideTheAttachmentsFolder)
{
    const QStringList allowed = {"plan.pdf", "inner.pdf", "absent.pdf"};
    const QStringList refused = {"escape.pdf", "dangling.pdf", "../secret.txt", "../../x", "/etc/passwd", "", ".."};
    for (const QString &payload : allowed)
        EXPECT_EQ(controller->attachmentFileURL(payload), QUrl::fromLocalFile(attachments(payload))) << payload.toStdString();
    for (const QString &payload : refused)
        EXPECT_EQ(controller->attachmentFileURL(payload), std::nullopt) << payload.toStdString();
}

TEST_F(AttachmentTest, RefusedFileOpensTheLightboxOnNothing)
{
    controller->openAttachment(attachment(AttachmentKind::video, "escape.pdf"));
    ASSERT_TRUE(controller->state().lightboxContent);
    EXPECT_EQ(controller->state().lightboxContent->url, QUrl());
    EXPECT_EQ(controller->state().lightboxContent->kind, LightboxContent::Kind::video);
    ASSERT_EQ(animations.size(), 1u);
    EXPECT_EQ(animations[0].curve, AnimationCurve::easeIn);

    controller->openAttachment(attachment(AttachmentKind::pdf, "plan.pdf"));
    EXPECT_EQ(controller->state().lightboxContent->id(), "pdf_" + attachments("plan.pdf"));
}

TEST_F(AttachmentTest, OnlySoundsAreHandedOver)
{
    // Sound by name and by content, or refused as a missing file is.
    for (const char *payload : {"tone.wav", "tune.mp3", "escape.pdf", "absent.wav", "song.mp3", "tune.desktop", "tune",
                                "list.m3u", "list.mp3", "radio.pls", "show.asx", "tracks.pla"})
        controller->openAttachment(attachment(AttachmentKind::sound, payload));
    EXPECT_EQ(effects.lines("open"), QStringList({"open:" + QUrl::fromLocalFile(attachments("tone.wav")).toString(),
                                                  "open:" + QUrl::fromLocalFile(attachments("song.mp3")).toString()}));
}

TEST_F(ViewerTestFixture, StorageFolderWithoutResolver)
{
    open(TestTours::tour(1));
    const QUrl url = *controller->attachmentFileURL("a b.pdf");
    EXPECT_TRUE(url.toLocalFile().endsWith(controller->project().id.toString(QUuid::WithoutBraces).toUpper() + "/attachments/a b.pdf"));
}

} // namespace

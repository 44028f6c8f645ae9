#include "LightboxFixture.h"

#include "panels/lightbox/LightboxImageView.h"
#include "panels/lightbox/LightboxPdfView.h"

#include "model/Palette.h"

#include <QAccessible>
#include <QApplication>
#include <QPdfView>
#include <QScrollBar>
#include <QTest>

#include <cmath>

namespace {

using State = LightboxImageView::State;

class LightboxMedia : public LightboxFixture, public ::testing::Test
{
protected:
    LightboxImageView *openImage(const QUrl &url, QSize size = QSize(1400, 900))
    {
        open({LightboxContent::Kind::image, url, QString()}, size);
        auto *view = media<LightboxImageView>();
        EXPECT_NE(view, nullptr);
        EXPECT_TRUE(QTest::qWaitFor([view] { return view && view->state() != State::loading; }, 10000));
        return view;
    }

    // The image area: the media view less its 16 px padding.
    static QRect imageArea(const QWidget *view) { return view->contentsRect(); }
};

struct FitCase
{
    const char *name;
    QSize image;
    bool drawing = false; ///< an SVG rather than a JPEG
};

class LightboxImageFit : public LightboxMedia, public ::testing::WithParamInterface<FitCase>
{
};

TEST_P(LightboxImageFit, fillsTheAreaWithItsAspectKept)
{
    const QSize image = GetParam().image;
    const QByteArray drawing = QStringLiteral(R"(<svg xmlns="http://www.w3.org/2000/svg" width="%1" height="%2"/>)")
                                   .arg(image.width())
                                   .arg(image.height())
                                   .toLatin1();
    LightboxImageView *view = openImage(GetParam().drawing ? writeBytes(QStringLiteral("fit.svg"), drawing)
                                                           : writeImage(QStringLiteral("fit.jpg"), image));
    ASSERT_EQ(view->state(), State::shown);
    const QRect area = imageArea(view);
    const QRect drawn = view->imageRect();
    EXPECT_TRUE(area.contains(drawn));
    EXPECT_TRUE(drawn.width() == area.width() || drawn.height() == area.height()) << "touches two sides";
    EXPECT_NEAR(double(drawn.width()) / drawn.height(), double(image.width()) / image.height(), 0.02);
    EXPECT_NEAR(drawn.center().x(), area.center().x(), 1);
    EXPECT_NEAR(drawn.center().y(), area.center().y(), 1);
    // Never decoded beyond what is shown, nor beyond the file itself.
    EXPECT_LE(view->decodedSize().width(), std::max(drawn.width() + 1, 1));
    EXPECT_LE(view->decodedSize().width(), image.width());
}

INSTANTIATE_TEST_SUITE_P(Images, LightboxImageFit,
    ::testing::Values(FitCase{"smallEnlarged", QSize(60, 40)},
                      FitCase{"tallEnlarged", QSize(30, 90)},
                      FitCase{"largeReduced", QSize(6000, 3000)},
                      FitCase{"hugeTallReduced", QSize(2000, 9000)},
                      FitCase{"drawingReduced", QSize(3000, 1500), true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(LightboxMedia, unreadableImagesShowTheFailureText)
{
    for (const QUrl &url : {QUrl::fromLocalFile(m_folder.filePath(QStringLiteral("missing.png"))),
                            writeBytes(QStringLiteral("broken.jpg"), QByteArray("not a picture")),
                            QUrl(QStringLiteral("https://example.com/a.png"))}) {
        LightboxImageView *view = openImage(url);
        EXPECT_EQ(view->state(), State::failed) << url.toString().toStdString();
        EXPECT_TRUE(view->imageRect().isEmpty());
    }
}

TEST_F(LightboxMedia, growingAreaDecodesMoreDetail)
{
    LightboxImageView *view = openImage(writeImage(QStringLiteral("big.jpg"), QSize(4000, 2000)), QSize(600, 500));
    const int first = view->decodedSize().width();
    EXPECT_LE(first, 600);
    m_lightbox->resize(1400, 900);
    EXPECT_TRUE(QTest::qWaitFor([&] { return view->decodedSize().width() > first; }, 10000));
    EXPECT_LE(view->decodedSize().width(), 1100);
}

TEST_F(LightboxMedia, imageShownBeforeItsAreaIsLaidOutAppearsOnceItHasOne)
{
    const QUrl url = writeImage(QStringLiteral("late.jpg"), QSize(800, 400));
    // A window not laid out yet, then a view that starts with no area at all.
    for (const QSize start : {QSize(0, 0), QSize(20, 20)}) {
        QWidget window;
        window.resize(start);
        LightboxImageView view(url, m_l10n, &window);
        view.resize(start);
        window.show();
        QTest::qWait(100);
        EXPECT_NE(view.state(), State::failed) << start.width();
        view.resize(500, 300);
        EXPECT_TRUE(QTest::qWaitFor([&] { return view.state() == State::shown; }, 10000)) << start.width();
        EXPECT_FALSE(view.imageRect().isEmpty());
    }
}

TEST_F(LightboxMedia, pdfOpensOnBlackAndKeepsItsDocumentForTheSameUrl)
{
    const QUrl first = writePdf(QStringLiteral("plan.pdf"), 30);
    open({LightboxContent::Kind::pdf, first, QStringLiteral("Plan")});
    auto *pdf = media<LightboxPdfView>();
    ASSERT_NE(pdf, nullptr);
    QPdfDocument *document = pdf->document();
    EXPECT_EQ(document->status(), QPdfDocument::Status::Ready);
    EXPECT_EQ(document->pageCount(), 30);
    EXPECT_EQ(pdf->pdfView()->palette().color(QPalette::Dark), QColor(Qt::black));

    QScrollBar *scroll = pdf->pdfView()->verticalScrollBar();
    ASSERT_TRUE(QTest::qWaitFor([scroll] { return scroll->maximum() > 0; }, 5000));
    scroll->setValue(scroll->maximum() / 2);
    const int position = scroll->value();
    m_lightbox->setContent({LightboxContent::Kind::pdf, first, QStringLiteral("Plan again")});
    EXPECT_EQ(pdf->document(), document);
    EXPECT_EQ(scroll->value(), position);

    m_lightbox->setContent({LightboxContent::Kind::pdf, writePdf(QStringLiteral("other.pdf"), 2), QString()});
    EXPECT_EQ(media<LightboxPdfView>(), pdf) << "the view stays, its document is replaced";
    EXPECT_NE(pdf->document(), document);
    EXPECT_EQ(pdf->document()->pageCount(), 2);
}

TEST_F(LightboxMedia, pdfPagesReachedByTabAreNamedByTheTitleAndRinged)
{
    open({LightboxContent::Kind::pdf, writePdf(QStringLiteral("plan.pdf"), 30), QStringLiteral("Plan")});
    QApplication::setActiveWindow(m_lightbox.get()); // the focus shows in the active window only
    auto *pdf = media<LightboxPdfView>();
    ASSERT_NE(pdf, nullptr);
    QPdfView *pages = pdf->pdfView();
    ASSERT_TRUE(QTest::qWaitFor([pages] { return pages->verticalScrollBar()->maximum() > 0; }, 5000));
    for (int step = 0; step < 4 && !pages->hasFocus(); ++step)
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : m_lightbox.get(), Qt::Key_Tab);
    ASSERT_TRUE(pages->hasFocus());

    EXPECT_EQ(QAccessible::queryAccessibleInterface(pages)->text(QAccessible::Name).toStdString(), "Plan");
    const QColor edge = pdf->grab().toImage().pixelColor(pages->geometry().left() - 3, pages->geometry().center().y());
    EXPECT_LT(std::abs(edge.red() - paletteGold().red()) + std::abs(edge.green() - paletteGold().green()), 40)
        << qPrintable(edge.name());
}

TEST_F(LightboxMedia, unreadablePdfLeavesAnEmptyView)
{
    open({LightboxContent::Kind::pdf, writeBytes(QStringLiteral("bad.pdf"), QByteArray("%PDF-1.4 broken")),
          QString()});
    auto *pdf = media<LightboxPdfView>();
    ASSERT_NE(pdf, nullptr);
    EXPECT_EQ(pdf->document()->pageCount(), 0);
    EXPECT_NE(pdf->document()->status(), QPdfDocument::Status::Ready);
    m_lightbox->grab(); // paints without a page
}

} // namespace

#include "model/AnimationCurve.h"
#include "model/LightboxContent.h"

#include <gtest/gtest.h>

namespace {

TEST(LightboxContentTest, IdentityIsKindPrefixAndPath)
{
    const QUrl url = QUrl::fromLocalFile("/tour/attachments/plan 1.pdf");
    EXPECT_EQ((LightboxContent{LightboxContent::Kind::image, url, "A"}.id()), "img_/tour/attachments/plan 1.pdf");
    EXPECT_EQ((LightboxContent{LightboxContent::Kind::pdf, url, ""}.id()), "pdf_/tour/attachments/plan 1.pdf");
    EXPECT_EQ((LightboxContent{LightboxContent::Kind::video, QUrl(), ""}.id()), "vid_");
}

TEST(AnimationCurveTest, CurvesBendTheRightWay)
{
    EXPECT_DOUBLE_EQ(easingCurve(AnimationCurve::linear).valueForProgress(0.3), 0.3);
    EXPECT_LT(easingCurve(AnimationCurve::easeIn).valueForProgress(0.3), 0.2);
    EXPECT_GT(easingCurve(AnimationCurve::easeOut).valueForProgress(0.3), 0.4);
    EXPECT_NEAR(easingCurve(AnimationCurve::easeInOut).valueForProgress(0.5), 0.5, 1e-3);
    EXPECT_LT(easingCurve(AnimationCurve::easeInOut).valueForProgress(0.2), 0.2);
    EXPECT_DOUBLE_EQ(easingCurve(AnimationCurve::easeOut).valueForProgress(1), 1);
}

} // namespace

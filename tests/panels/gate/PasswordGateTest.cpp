#include "panels/gate/LumivanePasswordGate.h"
#include "panels/gate/PasswordField.h"
#include "panels/gate/ShakeAnimation.h"

#include "l10n/L10n.h"
#include "model/AnimationCurve.h"
#include "tests/support/TemporarySettings.h"
#include "tests/support/WidgetLookup.h"
#include "widgets/CapsuleButton.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

namespace {

enum class Submit { button, returnKey };

class PasswordGateFixture
{
protected:
    PasswordGateFixture() { m_l10n.setCurrent(L10n::Language::english); }

    void makeGate(const QString &expected)
    {
        m_gate = std::make_unique<LumivanePasswordGate>(expected, m_l10n, nullptr, [this] { return m_now; });
        m_gate->onUnlock = [this] { ++m_unlocks; };
        m_gate->resize(900, 600);
        m_gate->show();
    }

    PasswordField *field() const { return m_gate->findChild<PasswordField *>(); }
    CapsuleButton *button() const { return widgetOfType<CapsuleButton>(m_gate.get()); }
    QLabel *errorLine() const { return m_gate->findChild<QLabel *>(QStringLiteral("gateError")); }
    QWidget *column() const { return m_gate->findChild<QWidget *>(QStringLiteral("gateColumn")); }

    void enter(const QString &text, Submit how)
    {
        field()->setPassword(text);
        if (how == Submit::returnKey)
            QTest::keyClick(field(), Qt::Key_Return);
        else
            QTest::mouseClick(button(), Qt::LeftButton);
    }

    // Offsets over one whole shake, 100 samples, the clock left after its end.
    std::vector<double> sampleShake()
    {
        std::vector<double> offsets;
        const double start = m_now;
        for (int i = 0; i <= 100; ++i) {
            m_now = start + ShakeAnimation::seconds * i / 100.0;
            offsets.push_back(m_gate->shakeOffset());
        }
        m_now = start + 1.0;
        return offsets;
    }

    TemporarySettings m_settings;
    L10n m_l10n{QStringList{}};
    double m_now = 100.0;
    int m_unlocks = 0;
    std::unique_ptr<LumivanePasswordGate> m_gate;
};

struct SubmitCase
{
    const char *name;
    const char16_t *expected;
    const char16_t *entered;
    Submit how;
    bool unlocks;
};

class PasswordGateSubmit : public PasswordGateFixture, public ::testing::TestWithParam<SubmitCase>
{
};

TEST_P(PasswordGateSubmit, unlocksOnlyOnTheExactText)
{
    const SubmitCase &c = GetParam();
    makeGate(QString::fromUtf16(c.expected));
    enter(QString::fromUtf16(c.entered), c.how);
    EXPECT_EQ(m_unlocks, c.unlocks ? 1 : 0);
    // A rejected entry stays in the field with the error line under it.
    EXPECT_EQ(field()->password(), QString::fromUtf16(c.entered));
    const bool rejected = !c.unlocks && !(c.how == Submit::button && field()->password().isEmpty());
    EXPECT_EQ(errorLine()->isVisible(), rejected);
}

INSTANTIATE_TEST_SUITE_P(Cases, PasswordGateSubmit, ::testing::Values(
    SubmitCase{"exactByButton", u"Sésame 42", u"Sésame 42", Submit::button, true},
    SubmitCase{"exactByReturn", u"Sésame 42", u"Sésame 42", Submit::returnKey, true},
    SubmitCase{"trailingSpace", u"Sésame", u"Sésame ", Submit::returnKey, false},
    SubmitCase{"expectedSpaceKept", u" Sésame", u"Sésame", Submit::button, false},
    SubmitCase{"otherCase", u"Sésame", u"sésame", Submit::button, false},
    SubmitCase{"decomposedEntry", u"S\u00e9same", u"Se\u0301same", Submit::returnKey, true},
    SubmitCase{"decomposedExpected", u"Se\u0301same", u"S\u00e9same", Submit::button, true},
    // Compatibility forms are not canonical equivalents.
    SubmitCase{"ligatureIsNotLetters", u"office", u"o\ufb03ce", Submit::returnKey, false},
    SubmitCase{"returnOnEmpty", u"pw", u"", Submit::returnKey, false},
    SubmitCase{"emptyPasswordByReturn", u"", u"", Submit::returnKey, true},
    // The disabled button submits nothing, even for an empty password.
    SubmitCase{"emptyPasswordByButton", u"", u"", Submit::button, false}),
    [](const auto &info) { return std::string(info.param.name); });

class PasswordGate : public PasswordGateFixture, public ::testing::Test
{
};

TEST_F(PasswordGate, buttonIsDimmedAndDisabledWhileTheFieldIsEmpty)
{
    makeGate(QStringLiteral("pw"));
    EXPECT_FALSE(button()->isEnabled());
    EXPECT_DOUBLE_EQ(button()->look().disabledOpacity, 0.4);
    QTest::keyClicks(field(), QStringLiteral("p"));
    EXPECT_TRUE(button()->isEnabled());
    field()->clear();
    EXPECT_FALSE(button()->isEnabled());
}

TEST_F(PasswordGate, threeRejectionsShakeThreeTimesAndTheLineStays)
{
    makeGate(QStringLiteral("right"));
    for (const QString &wrong : {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}) {
        enter(wrong, Submit::returnKey);
        const std::vector<double> offsets = sampleShake();
        int signChanges = 0;
        double largest = 0;
        double previous = 0;
        for (double offset : offsets) {
            if (std::abs(offset) < 1e-9)
                continue;
            if (previous * offset < 0)
                ++signChanges;
            previous = offset;
            largest = std::max(largest, std::abs(offset));
        }
        EXPECT_DOUBLE_EQ(offsets.front(), 0.0);
        EXPECT_GT(offsets[5], 0.0) << "the first swing goes to the right";
        EXPECT_EQ(signChanges, 3) << "two full swings";
        EXPECT_NEAR(largest, 6.0, 0.05);
        EXPECT_DOUBLE_EQ(m_gate->shakeOffset(), 0.0) << "at rest after the shake";
    }
    EXPECT_TRUE(errorLine()->isVisible());
    EXPECT_EQ(field()->password(), QStringLiteral("c"));
    EXPECT_EQ(m_unlocks, 0);
}

TEST_F(PasswordGate, shakeFollowsTheEasedSine)
{
    makeGate(QStringLiteral("right"));
    const double start = m_now;
    enter(QStringLiteral("wrong"), Submit::button);
    const QEasingCurve eased = easingCurve(AnimationCurve::platformDefault);
    for (double t : {0.0, 0.05, 0.1, 0.175, 0.25, 0.3, 0.349}) {
        m_now = start + t;
        const double count = eased.valueForProgress(t / ShakeAnimation::seconds);
        EXPECT_NEAR(m_gate->shakeOffset(), 6.0 * std::sin(4.0 * std::numbers::pi * count), 1e-9) << "at " << t;
    }
}

TEST_F(PasswordGate, columnMovesWithTheShake)
{
    makeGate(QStringLiteral("right"));
    const int restingX = column()->x();
    enter(QStringLiteral("wrong"), Submit::button);
    m_now += ShakeAnimation::seconds * 0.12;
    // The next frames of the animation timer place the column.
    ASSERT_TRUE(QTest::qWaitFor([&] { return column()->x() != restingX; }, 2000));
    EXPECT_EQ(column()->x() - restingX, std::lround(m_gate->shakeOffset()));
    EXPECT_GT(column()->x(), restingX);
    m_now += 1.0;
    EXPECT_TRUE(QTest::qWaitFor([&] { return column()->x() == restingX; }, 2000));
}

TEST_F(PasswordGate, errorLineStaysWhileTypingAndThroughUnlocking)
{
    makeGate(QStringLiteral("right"));
    enter(QStringLiteral("wrong"), Submit::returnKey);
    QTest::keyClicks(field(), QStringLiteral("more"));
    EXPECT_TRUE(errorLine()->isVisible());
    enter(QStringLiteral("right"), Submit::button);
    EXPECT_EQ(m_unlocks, 1);
    EXPECT_TRUE(errorLine()->isVisible());
}

TEST_F(PasswordGate, fieldIsNotFocusedUntilChosen)
{
    // In a window of its own, as the viewer holds it.
    QWidget window;
    new LumivanePasswordGate(QStringLiteral("pw"), m_l10n, &window);
    window.resize(900, 600);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    auto *field = window.findChild<QLineEdit *>();
    EXPECT_FALSE(field->hasFocus());
    QTest::keyClick(&window, Qt::Key_Tab);
    EXPECT_TRUE(field->hasFocus()) << "reachable with the keyboard";
    field->clearFocus();
    QTest::mouseClick(field, Qt::LeftButton);
    EXPECT_TRUE(field->hasFocus());
}

TEST_F(PasswordGate, textsFollowTheLanguage)
{
    makeGate(QStringLiteral("pw"));
    m_l10n.setCurrent(L10n::Language::french);
    EXPECT_EQ(button()->text(), QStringLiteral("Déverrouiller"));
    EXPECT_EQ(field()->placeholderText(), QStringLiteral("Mot de passe"));
    EXPECT_EQ(errorLine()->text(), QStringLiteral("Mot de passe incorrect"));
}

} // namespace

// The masked field's entry and what it tells assistive technology, read
// from the accessibility events Qt really sends (on the virtual display,
// over a private accessibility bus).

#include "panels/gate/LumivanePasswordGate.h"
#include "panels/gate/PasswordField.h"

#include "l10n/L10n.h"
#include "tests/support/AccessibilityEvents.h"
#include "tests/support/HeldClipboard.h"
#include "tests/support/TemporarySettings.h"

#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

namespace {

struct EditCase
{
    const char *name;
    std::function<void(PasswordField &)> edit;
    const char16_t *entry;
};

void PrintTo(const EditCase &c, std::ostream *os)
{
    *os << c.name;
}

// What a keyboard types, also outside ASCII, one character at a time.
void type(PasswordField &field, const QString &text)
{
    for (const uint codePoint : text.toUcs4()) {
        const QString character = QString::fromUcs4(reinterpret_cast<const char32_t *>(&codePoint), 1);
        QTest::sendKeyEvent(QTest::Press, &field, Qt::Key_unknown, character, Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, &field, Qt::Key_unknown, character, Qt::NoModifier);
    }
}

void key(PasswordField &field, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int times = 1)
{
    for (int i = 0; i < times; ++i)
        QTest::keyClick(&field, key, modifiers);
}

bool onlyMasks(const QString &text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c == QChar(PasswordField::mask); });
}

class PasswordFieldEdits : public ::testing::TestWithParam<EditCase>
{
protected:
    AccessibilityEvents events; // first: the bus must exist before any widget asks
    PasswordField field;
};

TEST_P(PasswordFieldEdits, keepTheEntryAndTellOnlyMasks)
{
    ASSERT_TRUE(events.isActive()) << "no accessibility bus: nothing would be checked";
    field.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&field));
    events.clear();

    GetParam().edit(field);

    const QString entry = QString::fromUtf16(GetParam().entry);
    EXPECT_EQ(field.password(), entry);
    EXPECT_EQ(field.text(), QString(entry.toUcs4().size(), QChar(PasswordField::mask)));
    int textEvents = 0;
    for (const AccessibilityEvents::Record &event : events.eventsOf(&field)) {
        if (event.type != QAccessible::TextInserted && event.type != QAccessible::TextRemoved
            && event.type != QAccessible::TextUpdated)
            continue;
        ++textEvents;
        EXPECT_TRUE(onlyMasks(event.text)) << qPrintable(event.text);
    }
    EXPECT_GT(textEvents, 0);
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(&field);
    EXPECT_TRUE(accessible->state().passwordEdit);
    EXPECT_FALSE(accessible->text(QAccessible::Value).contains(QLatin1Char('a')));
}

INSTANTIATE_TEST_SUITE_P(Field, PasswordFieldEdits, ::testing::Values(
    EditCase{"typing", [](PasswordField &f) { type(f, QStringLiteral("Sésame 42")); }, u"Sésame 42"},
    EditCase{"outsideTheBasicPlane", [](PasswordField &f) { type(f, QStringLiteral("a\U0001F600b")); }, u"a\U0001F600b"},
    EditCase{"backspaceInTheMiddle",
             [](PasswordField &f) {
                 type(f, QStringLiteral("abcd"));
                 key(f, Qt::Key_Left, Qt::NoModifier, 2);
                 key(f, Qt::Key_Backspace);
             },
             u"acd"},
    EditCase{"backspaceAfterAnEmoji",
             [](PasswordField &f) {
                 type(f, QStringLiteral("a\U0001F600"));
                 key(f, Qt::Key_Backspace);
             },
             u"a"},
    EditCase{"deleteAtTheStart",
             [](PasswordField &f) {
                 type(f, QStringLiteral("abcd"));
                 key(f, Qt::Key_Home);
                 key(f, Qt::Key_Delete);
             },
             u"bcd"},
    EditCase{"typingOverASelection",
             [](PasswordField &f) {
                 type(f, QStringLiteral("abcd"));
                 key(f, Qt::Key_Home);
                 key(f, Qt::Key_Right, Qt::ShiftModifier, 2);
                 type(f, QStringLiteral("X"));
             },
             u"Xcd"},
    EditCase{"selectAllAndType",
             [](PasswordField &f) {
                 type(f, QStringLiteral("abc"));
                 key(f, Qt::Key_A, Qt::ControlModifier);
                 type(f, QStringLiteral("z"));
             },
             u"z"},
    EditCase{"undoEmptiesAMaskedField",
             [](PasswordField &f) {
                 type(f, QStringLiteral("abc"));
                 key(f, Qt::Key_Z, Qt::ControlModifier);
                 type(f, QStringLiteral("d"));
             },
             u"d"},
    EditCase{"pastedInTheMiddle",
             [](PasswordField &f) {
                 type(f, QStringLiteral("ad"));
                 key(f, Qt::Key_Left);
                 const HeldClipboard clipboard(QStringLiteral("bc"));
                 key(f, Qt::Key_V, Qt::ControlModifier);
             },
             u"abcd"},
    EditCase{"pastedOutsideTheBasicPlane",
             [](PasswordField &f) {
                 const HeldClipboard clipboard(QStringLiteral("a\U0001F600b"));
                 key(f, Qt::Key_V, Qt::ControlModifier);
             },
             u"a\U0001F600b"},
    EditCase{"committedByAnInputMethod",
             [](PasswordField &f) {
                 type(f, QStringLiteral("a"));
                 QInputMethodEvent commit;
                 commit.setCommitString(QStringLiteral("é"));
                 QCoreApplication::sendEvent(&f, &commit);
             },
             u"aé"}),
    [](const auto &info) { return std::string(info.param.name); });

class PasswordGateAnnouncement : public ::testing::Test
{
protected:
    AccessibilityEvents events;
    TemporarySettings settings;
    L10n l10n{QStringList{}};
};

TEST_F(PasswordGateAnnouncement, aWrongPasswordIsANotificationShownEachTimeAndTheFieldIsNamedByItsPlaceholder)
{
    ASSERT_TRUE(events.isActive());
    l10n.setCurrent(L10n::Language::english);
    LumivanePasswordGate gate(QStringLiteral("right"), l10n);
    gate.resize(900, 600);
    gate.show();
    auto *field = gate.findChild<PasswordField *>();
    auto *error = gate.findChild<QLabel *>(QStringLiteral("gateError"));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(field)->text(QAccessible::Name), "Password");
    field->setPassword(QStringLiteral("wrong"));
    events.clear();

    // Orca speaks a notification as it comes into view.
    for (int attempt = 1; attempt <= 2; ++attempt) {
        QTest::keyClick(field, Qt::Key_Return);
        int notices = 0;
        for (const AccessibilityEvents::Record &event : events.events()) {
            QAccessibleInterface *about = event.object ? QAccessible::queryAccessibleInterface(event.object) : nullptr;
            notices += event.type == QAccessible::ObjectShow && about && about->role() == QAccessible::Notification
                       && event.name == "Incorrect password";
        }
        EXPECT_EQ(notices, attempt) << "each failed attempt is said again";
    }
    EXPECT_EQ(QAccessible::queryAccessibleInterface(error)->text(QAccessible::Name), "Incorrect password");
}

} // namespace

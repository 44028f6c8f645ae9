// Every control of every card and sheet can be made out under the light and
// the dark palette of the desktop: the box of a check box, the outline of a
// text field and what a button paints contrast by at least 3:1 with what
// lies right behind them, as read back from the window.

#include "support/SampleTourSheetFixture.h"

#include "panels/contact/LumivaneContactFormView.h"
#include "panels/cover/LumivaneCoverView.h"
#include "panels/feedback/VisitorFeedbackSheet.h"
#include "panels/gate/LumivanePasswordGate.h"
#include "tests/support/WidgetLookup.h"
#include "viewer/FadingSnapshot.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>
#include <cmath>
#include <functional>

namespace {

double luminance(QColor color)
{
    const auto linear = [](double channel) {
        return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(color.redF()) + 0.7152 * linear(color.greenF()) + 0.0722 * linear(color.blueF());
}

double contrastRatio(QColor a, QColor b)
{
    const double first = luminance(a);
    const double second = luminance(b);
    return (std::max(first, second) + 0.05) / (std::min(first, second) + 0.05);
}

/// A desktop's dark palette, as a dark theme hands it to Qt.
QPalette darkPalette()
{
    QPalette palette(QColor("#292C30"), QColor("#202326"));
    palette.setColor(QPalette::Base, QColor("#1B1E20"));
    palette.setColor(QPalette::AlternateBase, QColor("#232629"));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::BrightText})
        palette.setColor(role, QColor("#FCFCFC"));
    palette.setColor(QPalette::Highlight, QColor("#3DAEE9"));
    palette.setColor(QPalette::HighlightedText, QColor("#FCFCFC"));
    palette.setColor(QPalette::PlaceholderText, QColor("#A1A9B1"));
    return palette;
}

/// Where a control shows itself: the box of a check box, the edges of a
/// text field (its outline or the edge of its fill), or all a button paints.
struct ControlBox
{
    QWidget *control;
    QRect box; // in the control's coordinates
    bool edgesOnly;
};

std::optional<ControlBox> boxOf(QWidget *widget)
{
    if (!widget->isVisible() || !widget->isEnabled())
        return std::nullopt;
    if (qobject_cast<QCheckBox *>(widget)) {
        QStyleOptionButton option;
        option.initFrom(widget);
        return ControlBox{widget, widget->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, widget), true};
    }
    if (qobject_cast<QLineEdit *>(widget) || qobject_cast<QPlainTextEdit *>(widget))
        return ControlBox{widget, widget->rect(), true};
    // Lists and pages that take the focus to be scrolled have no box.
    if (qobject_cast<QAbstractScrollArea *>(widget) || !(widget->focusPolicy() & Qt::TabFocus))
        return std::nullopt;
    return ControlBox{widget, widget->rect(), false};
}

/// What lies behind the box: of the pixels two outside it, the one of middle luminance.
QColor behind(const QImage &image, const QRect &box)
{
    QList<QColor> ring;
    const QRect around = box.adjusted(-2, -2, 2, 2);
    for (int y = around.top(); y <= around.bottom(); ++y) {
        for (int x = around.left(); x <= around.right(); ++x) {
            const bool onRing = y == around.top() || y == around.bottom() || x == around.left() || x == around.right();
            if (onRing && image.rect().contains(x, y))
                ring << image.pixelColor(x, y);
        }
    }
    std::sort(ring.begin(), ring.end(), [](QColor a, QColor b) { return luminance(a) < luminance(b); });
    return ring.value(ring.size() / 2);
}

/// The strongest contrast between what the box paints and what lies behind it.
double boxContrast(const QImage &image, const QRect &box, bool edgesOnly)
{
    const QColor back = behind(image, box);
    const QRect inside = box.adjusted(2, 2, -2, -2);
    double strongest = 1;
    for (int y = box.top(); y <= box.bottom(); ++y) {
        for (int x = box.left(); x <= box.right(); ++x) {
            if (image.rect().contains(x, y) && !(edgesOnly && inside.contains(x, y)))
                strongest = std::max(strongest, contrastRatio(image.pixelColor(x, y), back));
        }
    }
    return strongest;
}

/// Whether something still fades over the control: a face going, or a
/// layer or section coming, whose opacity effect lasts as long as its fade.
bool stillFading(const QWidget &sheet, const QWidget *control)
{
    if (widgetOfType<FadingSnapshot>(&sheet))
        return true;
    for (const QWidget *w = control; w; w = w->parentWidget()) {
        if (w->graphicsEffect())
            return true;
    }
    return false;
}

class ControlContrastTest;

struct ContrastCase
{
    const char *name;
    SampleTourVariant tour;
    std::function<void(ViewerController &)> reach;
    /// What holds the controls judged: a card, a sheet or a layer.
    std::function<QWidget *(const ControlContrastTest &)> card;
    /// What is done on it first, if anything.
    std::function<void(QWidget &)> then = {};
    bool dark = false;
};

void PrintTo(const ContrastCase &c, std::ostream *out)
{
    *out << c.name << (c.dark ? " (dark)" : " (light)");
}

class ControlContrastTest : public SampleTourSheetFixture, public ::testing::WithParamInterface<ContrastCase>
{
protected:
    void SetUp() override
    {
        m_savedPalette = QApplication::palette();
        QApplication::setPalette(GetParam().dark ? darkPalette() : QApplication::style()->standardPalette());
    }

    void TearDown() override
    {
        sheet.reset();
        QApplication::setPalette(m_savedPalette);
    }

private:
    QPalette m_savedPalette;
};

TEST_P(ControlContrastTest, EachControlsBoxContrastsWithWhatLiesBehindIt)
{
    const ContrastCase &c = GetParam();
    openSample(c.tour, {1280, 800});
    c.reach(controller());
    // Every view in place, every fade over.
    QTest::qWait(700);
    QWidget *card = c.card(*this);
    ASSERT_NE(card, nullptr);
    if (c.then)
        c.then(*card);

    QList<ControlBox> controls;
    for (QWidget *widget : card->findChildren<QWidget *>()) {
        if (const std::optional<ControlBox> found = boxOf(widget))
            controls << *found;
    }
    EXPECT_FALSE(controls.isEmpty());
    // The fades run on the clock from their first frame, which on a loaded
    // machine can come late.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return std::none_of(controls.cbegin(), controls.cend(),
                                [&](const ControlBox &c) { return stillFading(*sheet, c.control); });
        },
        5000));
    for (const ControlBox &control : controls) {
        for (QWidget *w = control.control->parentWidget(); w; w = w->parentWidget()) {
            if (auto *scroll = qobject_cast<QScrollArea *>(w))
                scroll->ensureWidgetVisible(control.control);
        }
        const QImage window = sheet->grab().toImage();
        const QRect box(control.control->mapTo(sheet.get(), control.box.topLeft()), control.box.size());
        const double contrast = boxContrast(window, box, control.edgesOnly);
        EXPECT_GE(contrast, 3.0) << control.control->metaObject()->className() << " \""
                                 << control.control->accessibleName().toStdString() << "\" at " << box.x() << "," << box.y()
                                 << " on " << behind(window, box).name().toStdString() << ": " << contrast;
    }
}

std::vector<ContrastCase> contrastCases()
{
    using T = ControlContrastTest;
    const auto station = [](ViewerLayer layer) { return [layer](const T &t) { return t.shownView(layer); }; };
    const std::vector<ContrastCase> cards = {
        {"cover", SampleTourVariant::Demo, [](ViewerController &c) { c.backToCover(); },
         [](const T &t) -> QWidget * { return widgetOfType<LumivaneCoverView>(t.sheet.get()); }},
        {"passwordGate", SampleTourVariant::Password, [](ViewerController &) {},
         [](const T &t) -> QWidget * { return widgetOfType<LumivanePasswordGate>(t.sheet.get()); }},
        {"contactForm", SampleTourVariant::Demo,
         [](ViewerController &c) {
             c.backToCover();
             c.setContactFormVisible(true);
         },
         [](const T &t) -> QWidget * { return widgetOfType<LumivaneContactFormView>(&t.sheet->faceChrome()); }},
        {"languagePickerAndAudioGuide", SampleTourVariant::Demo, [](ViewerController &) {},
         [](const T &t) -> QWidget * { return &t.sheet->overlayColumn(); }},
        {"headerAndControlBar", SampleTourVariant::Demo, [](ViewerController &) {},
         [](const T &t) -> QWidget * { return &t.stations()->stack().layer(ViewerLayer::headerAndControlBar); }},
        {"feedbackCard", SampleTourVariant::Demo, [](ViewerController &c) { c.setShowFeedback(true); },
         station(ViewerLayer::feedback)},
        {"feedbackCardRated", SampleTourVariant::Demo, [](ViewerController &c) { c.setShowFeedback(true); },
         station(ViewerLayer::feedback),
         [](QWidget &card) {
             dynamic_cast<VisitorFeedbackSheet &>(card).setRating(Rating::negative);
         }},
        {"infoCard", SampleTourVariant::Demo,
         [](ViewerController &c) { c.showInfoCard(c.infoHotspotsOfStation().front()); }, station(ViewerLayer::infoCard)},
        {"helpCard", SampleTourVariant::Demo, [](ViewerController &c) { c.setShowKeyboardHelp(true); },
         station(ViewerLayer::keyboardHelp)},
        {"tableOfContents", SampleTourVariant::Demo, [](ViewerController &c) { c.setShowTableOfContents(true); },
         station(ViewerLayer::tableOfContents)},
        {"lightbox", SampleTourVariant::Demo,
         [](ViewerController &c) { c.openAttachment(firstAttachment(c, AttachmentKind::pdf)); },
         station(ViewerLayer::lightbox)},
        {"informationPanel", SampleTourVariant::Demo, [](ViewerController &c) { c.togglePropertyInfo(); },
         station(ViewerLayer::propertyInfo)},
    };
    std::vector<ContrastCase> cases;
    for (const bool dark : {false, true}) {
        for (ContrastCase card : cards) {
            card.dark = dark;
            cases.push_back(card);
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Cards, ControlContrastTest, ::testing::ValuesIn(contrastCases()), [](const auto &info) {
    return std::string(info.param.name) + (info.param.dark ? "Dark" : "Light");
});

} // namespace

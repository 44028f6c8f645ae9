// Nothing a visitor clicks or reads lies under something else. For every
// state of the viewer, at the smallest window and at full HD, the real sheet
// over the demo tour and over the classic one is laid out, and every
// control, title and value row in view (not behind an open sheet, which
// covers what lies under it on purpose, and not a marker on the photo,
// which lies under everything) takes a click on every point of it. What a
// sheet leaves in view all the same is judged too: its controls take
// clicks, its titles lie under nothing but the sheet's dimming backdrop.

#include "support/SampleTourSheetFixture.h"

#include "media/panorama/Panorama360ViewerView.h"
#include "panels/contact/LumivaneContactFormView.h"
#include "panels/info/InfoGroupsBody.h"
#include "panels/lightbox/LightboxHeader.h"
#include "tests/support/WidgetLookup.h"
#include "viewer/chrome/ClassicCaptionBand.h"
#include "viewer/chrome/ClassicInfoMarker.h"
#include "viewer/chrome/HeaderBar.h"
#include "viewer/chrome/KioskHeader.h"
#include "widgets/CapsuleLabel.h"
#include "widgets/PaintedItemAccessibility.h"
#include "widgets/WrappingText.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include <algorithm>
#include <functional>

namespace {

/// Something the visitor clicks or reads: a widget, or a painted item or row
/// of one, in the widget's coordinates.
struct Target
{
    QWidget *widget;
    QRect rect;
    QString what;
};

QString describe(const QWidget *widget)
{
    QString text;
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        text = label->text();
    else if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        text = button->text().isEmpty() ? button->accessibleName() : button->text();
    else if (const auto *capsule = dynamic_cast<const CapsuleLabel *>(widget))
        text = capsule->text();
    else if (const auto *header = dynamic_cast<const LightboxHeader *>(widget))
        text = header->title();
    return QStringLiteral("%1 %2 \"%3\"").arg(widget->metaObject()->className(), widget->objectName(), text.left(30));
}

bool isControl(const QWidget *widget)
{
    return qobject_cast<const QAbstractButton *>(widget) || qobject_cast<const QLineEdit *>(widget)
        || qobject_cast<const QTextEdit *>(widget) || qobject_cast<const QPlainTextEdit *>(widget)
        || qobject_cast<const QAbstractSlider *>(widget);
}

bool isTitleOrControl(const QWidget *widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return !label->text().isEmpty() || !label->pixmap().isNull();
    return isControl(widget) || dynamic_cast<const CapsuleLabel *>(widget) || dynamic_cast<const WrappingText *>(widget)
        || dynamic_cast<const LightboxHeader *>(widget);
}

QList<Target> targetsOf(QWidget *widget)
{
    QList<Target> targets;
    if (dynamic_cast<const ClassicInfoMarker *>(widget) || dynamic_cast<const Panorama360ViewerView *>(widget))
        return targets;
    if (isTitleOrControl(widget))
        targets.append({widget, widget->rect(), describe(widget)});
    if (const auto *caption = dynamic_cast<const ClassicCaptionBand *>(widget))
        targets.append({widget, caption->textArea(), "caption " + caption->accessibleName()});
    if (const auto *host = dynamic_cast<const PaintedItemHost *>(widget)) {
        for (int i = 0; i < host->paintedItemCount(); ++i)
            targets.append({widget, host->paintedItemRect(i), describe(widget) + " item " + host->paintedItemName(i)});
    }
    if (const auto *body = dynamic_cast<const InfoGroupsBody *>(widget)) {
        const QList<QRectF> rows = body->rowRects();
        for (qsizetype i = 0; i < rows.size(); ++i)
            targets.append({widget, rows[i].toAlignedRect(), describe(widget) + QStringLiteral(" row %1").arg(i)});
    }
    return targets;
}

/// Whether a is drawn over b: of the two children of their nearest common
/// ancestor that hold them, a's comes later. A widget lies over its ancestors.
bool isStackedAbove(const QWidget *a, const QWidget *b)
{
    if (a == b || a->isAncestorOf(b))
        return false;
    if (b->isAncestorOf(a))
        return true;
    const QWidget *common = a->parentWidget();
    while (common && !common->isAncestorOf(b))
        common = common->parentWidget();
    const auto holder = [common](const QWidget *w) {
        while (w->parentWidget() != common)
            w = w->parentWidget();
        return w;
    };
    const QObjectList &order = common->children();
    return order.indexOf(holder(a)) > order.indexOf(holder(b));
}

/// The part of the target that its ancestors leave in view, in the window's coordinates.
QRect visiblePart(const Target &target)
{
    QRect part(target.widget->mapTo(target.widget->window(), target.rect.topLeft()), target.rect.size());
    for (const QWidget *w = target.widget; w; w = w->parentWidget())
        part &= QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
    return part;
}

/// What lies over the target where a click lands on it, if anything;
/// `backdrop` itself (not its children) lies over it without hiding it.
std::optional<QString> coveredBy(QWidget &window, const Target &target, const QWidget *backdrop = nullptr)
{
    const QRect part = visiblePart(target);
    constexpr int step = 3;
    for (int y = part.top(); y <= part.bottom(); y = y == part.bottom() ? y + 1 : std::min(y + step, part.bottom())) {
        for (int x = part.left(); x <= part.right();
             x = x == part.right() ? x + 1 : std::min(x + step, part.right())) {
            QWidget *hit = window.childAt(x, y);
            if (hit && hit != target.widget && hit != backdrop && !target.widget->isAncestorOf(hit)
                && isStackedAbove(hit, target.widget))
                return QStringLiteral("%1 at (%2, %3)").arg(describe(hit)).arg(x).arg(y);
        }
    }
    return std::nullopt;
}

class NothingCoveredTest;

struct CoverageCase
{
    const char *name;
    SampleTourVariant tour;
    QSize size;
    std::function<void(ViewerController &)> reach;
    /// The sheet that covers what lies under it on purpose, if one is open.
    std::function<QWidget *(const NothingCoveredTest &)> openSheet = {};
    /// What that sheet leaves in view all the same.
    std::function<bool(const Target &)> keptInView = {};
};

void PrintTo(const CoverageCase &c, std::ostream *out)
{
    *out << c.name << (c.tour == SampleTourVariant::Classic ? " (classic)" : "") << " at " << c.size.width() << "x"
         << c.size.height();
}

class NothingCoveredTest : public SampleTourSheetFixture, public ::testing::WithParamInterface<CoverageCase>
{
public:
    /// Every control, title and value row in view and not behind the sheet,
    /// or behind it and kept in view.
    QList<Target> targets(const QWidget *openSheet, const std::function<bool(const Target &)> &kept) const
    {
        QList<Target> found;
        for (QWidget *widget : sheet->findChildren<QWidget *>()) {
            if (!widget->isVisible() || visiblePart({widget, widget->rect(), {}}).isEmpty())
                continue;
            const bool behindSheet = openSheet && widget != openSheet && !openSheet->isAncestorOf(widget)
                && !isStackedAbove(widget, openSheet);
            for (const Target &target : targetsOf(widget)) {
                if (!visiblePart(target).isEmpty() && (!behindSheet || (kept && kept(target))))
                    found.append(target);
            }
        }
        return found;
    }

    /// What lies over the target, but for the open sheet's backdrop over a
    /// title that the sheet keeps in view.
    std::optional<QString> coverOf(const Target &target, const QWidget *openSheet) const
    {
        const bool dimmedTitle = openSheet && !isControl(target.widget) && !openSheet->isAncestorOf(target.widget)
            && !isStackedAbove(target.widget, openSheet);
        return coveredBy(*sheet, target, dimmedTitle ? openSheet : nullptr);
    }

};

void withStrip(ViewerController &c)
{
    c.toggleThumbBar();
}

TEST_P(NothingCoveredTest, EveryControlTitleAndValueInViewTakesClicksOnAllOfIt)
{
    const CoverageCase &c = GetParam();
    openSample(c.tour, c.size);
    c.reach(controller());
    // Every view in place, every fade and move over.
    QTest::qWait(700);
    QWidget *openSheet = c.openSheet ? c.openSheet(*this) : nullptr;
    if (c.openSheet) {
        ASSERT_NE(openSheet, nullptr) << "the state's sheet is open";
    }

    // The fades and moves run on the clock from when their first frame is
    // drawn, which on a loaded machine can come late: wait for the layout to
    // settle rather than judge a view still on its way.
    const bool settled = QTest::qWaitFor(
        [&] {
            const QList<Target> inView = targets(openSheet, c.keptInView);
            return std::none_of(inView.cbegin(), inView.cend(),
                                [&](const Target &target) { return coverOf(target, openSheet).has_value(); });
        },
        5000);
    const QList<Target> found = targets(openSheet, c.keptInView);
    EXPECT_TRUE(settled) << "something still lies over a control after 5 s";
    EXPECT_FALSE(found.isEmpty());
    for (const Target &target : found) {
        const std::optional<QString> cover = coverOf(target, openSheet);
        EXPECT_FALSE(cover.has_value()) << target.what.toStdString() << " at " << visiblePart(target).x() << ","
                                        << visiblePart(target).y() << " lies under "
                                        << cover.value_or(QString()).toStdString();
    }
}

/// The information panel leaves the header, the kiosk header and a classic
/// station's caption in view.
bool headersAndCaption(const Target &target)
{
    for (const QWidget *w = target.widget; w; w = w->parentWidget()) {
        if (dynamic_cast<const HeaderBar *>(w) || dynamic_cast<const KioskHeader *>(w))
            return true;
    }
    return dynamic_cast<const ClassicCaptionBand *>(target.widget);
}

QWidget *informationPanel(const NothingCoveredTest &t)
{
    return t.shownView(ViewerLayer::propertyInfo);
}

const QSize smallest{900, 600};
const QSize fullHD{1920, 1080};

std::vector<CoverageCase> coverageCases()
{
    const std::vector<CoverageCase> states = {
        {"stationView", {}, {}, withStrip},
        {"kiosk", {}, {}, [](ViewerController &c) { c.toggleKiosk(); }},
        {"immersive", {}, {}, [](ViewerController &c) { c.setImmersiveMode(true); }},
        {"tableOfContents", {}, {},
         [](ViewerController &c) {
             withStrip(c);
             c.setShowTableOfContents(true);
         },
         [](const NothingCoveredTest &t) { return t.shownView(ViewerLayer::tableOfContents); }},
        {"helpCard", {}, {},
         [](ViewerController &c) {
             withStrip(c);
             c.setShowKeyboardHelp(true);
         },
         [](const NothingCoveredTest &t) { return t.shownView(ViewerLayer::keyboardHelp); }},
        {"informationPanel", {}, {},
         [](ViewerController &c) {
             withStrip(c);
             c.togglePropertyInfo();
         },
         informationPanel, headersAndCaption},
        {"kioskWithInformationPanel", {}, {},
         [](ViewerController &c) {
             c.toggleKiosk();
             c.togglePropertyInfo();
         },
         informationPanel, headersAndCaption},
        {"infoCard", {}, {},
         [](ViewerController &c) {
             withStrip(c);
             c.showInfoCard(c.infoHotspotsOfStation().front());
         }},
        {"lightbox", {}, {},
         [](ViewerController &c) {
             withStrip(c);
             c.openAttachment(firstAttachment(c, AttachmentKind::pdf));
         },
         [](const NothingCoveredTest &t) { return t.shownView(ViewerLayer::lightbox); }},
        {"contactForm", {}, {},
         [](ViewerController &c) {
             c.backToCover();
             c.setContactFormVisible(true);
         },
         [](const NothingCoveredTest &t) -> QWidget * {
             return widgetOfType<LumivaneContactFormView>(&t.sheet->faceChrome());
         }},
        {"feedbackCard", {}, {},
         [](ViewerController &c) {
             withStrip(c);
             c.setShowFeedback(true);
         },
         [](const NothingCoveredTest &t) { return t.shownView(ViewerLayer::feedback); }},
    };
    std::vector<CoverageCase> cases;
    for (const SampleTourVariant tour : {SampleTourVariant::Demo, SampleTourVariant::Classic}) {
        for (const CoverageCase &state : states) {
            for (const QSize size : {smallest, fullHD}) {
                CoverageCase sized = state;
                sized.tour = tour;
                sized.size = size;
                cases.push_back(sized);
            }
        }
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(States, NothingCoveredTest, ::testing::ValuesIn(coverageCases()), [](const auto &info) {
    const std::string tour = info.param.tour == SampleTourVariant::Classic ? "classic_" : "";
    return tour + info.param.name + "At" + std::to_string(info.param.size.width());
});

} // namespace

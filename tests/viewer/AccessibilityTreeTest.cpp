// What assistive technology reads of each screen, through the same
// interfaces a screen reader queries: every control named and focusable,
// cards as dialogs, and the values the views paint themselves.

#include "support/ViewerSheetFixture.h"

#include "panels/feedback/VisitorFeedbackSheet.h"
#include "panels/gate/PasswordField.h"
#include "panels/info/InfoGroupBuilder.h"
#include "panels/info/InfoGroupsBody.h"
#include "navigation/StationCardGrid.h"
#include "tests/support/HostileTexts.h"
#include "tests/support/WidgetLookup.h"
#include "widgets/ScreenReaderNotice.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QPlainTextEdit>

#include <algorithm>

namespace {

QAccessibleInterface *accessible(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

QString nameOf(QObject *object)
{
    return accessible(object)->text(QAccessible::Name);
}

class AccessibilityTreeTest : public ViewerSheetFixture
{
protected:
    LumivaneProject richTour(int stations = 5)
    {
        LumivaneProject project = TestTours::tour(stations, 1);
        project.renderMode = RenderMode::classic;
        project.price = 350000;
        project.area = 142.5;
        project.roomCount = 6;
        project.feedbackEnabled = true;
        project.feedbackEmail = QStringLiteral("avis@example.com");
        project.contactFormEnabled = true;
        project.contactFormEmail = QStringLiteral("agence@example.com");
        project.coverContactEmail = QStringLiteral("agence@example.com");
        project.coverContactPhone = QStringLiteral("+33 4 72 00 00 00");
        project.kioskEnabled = true;
        Hotspot info = TestTours::infoHotspot(QStringLiteral("Cheminée"));
        info.yaw = 0.5;
        info.pitch = 0.5;
        project.stations[0].hotspots.append(info);
        for (int n = 1; n <= stations; ++n)
            writePhoto(n, QColor(40, 90, 30 * n));
        return project;
    }

    /// Every button and field of the sheet on screen: named, focusable, and
    /// taking the focus from Tab.
    void expectEveryControlNamedAndReachable() const
    {
        int controls = 0;
        for (QWidget *widget : sheet->findChildren<QWidget *>()) {
            const bool control = qobject_cast<QAbstractButton *>(widget) || qobject_cast<QLineEdit *>(widget)
                                 || qobject_cast<QPlainTextEdit *>(widget);
            if (!control || !widget->isVisible())
                continue;
            ++controls;
            QAccessibleInterface *read = accessible(widget);
            EXPECT_FALSE(read->text(QAccessible::Name).isEmpty()) << widget->metaObject()->className();
            EXPECT_TRUE(read->state().focusable) << qPrintable(read->text(QAccessible::Name));
            EXPECT_TRUE(widget->focusPolicy() & Qt::TabFocus) << qPrintable(read->text(QAccessible::Name));
        }
        EXPECT_GT(controls, 0);
    }

    QWidget *shownView(ViewerLayer layer) const
    {
        const QList<QWidget *> views = shownIn(layer);
        return views.isEmpty() ? nullptr : views.front();
    }

    /// Every name, description and value under the sheet, as a screen
    /// reader walks it, is a text as the views show it: cut, and without a
    /// control character but kept line breaks. Those that are not, by role
    /// and class.
    std::string textsReadUncut() const
    {
        QStringList uncut;
        collectUncut(accessible(sheet.get()), uncut, 0);
        return uncut.join(QStringLiteral("; ")).toStdString();
    }

    static void collectUncut(QAccessibleInterface *node, QStringList &uncut, int depth)
    {
        if (!node || depth > 64)
            return;
        for (const QAccessible::Text kind : {QAccessible::Name, QAccessible::Description, QAccessible::Value}) {
            const QString read = node->text(kind);
            if (read.size() > DisplayLength::scrolling + 64 || HostileTexts::hasControlCharacter(read, LineBreaks::kept)) {
                uncut << QStringLiteral("role %1 (%2): %3 characters")
                             .arg(int(node->role()))
                             .arg(QLatin1String(node->object() ? node->object()->metaObject()->className() : "item"))
                             .arg(read.size());
            }
        }
        for (int i = 0; i < node->childCount(); ++i)
            collectUncut(node->child(i), uncut, depth + 1);
    }

    /// The names of the notifications in view under the sheet, which screen
    /// readers speak as they come into view.
    std::string notificationsShown() const
    {
        QStringList shown;
        collectNotifications(accessible(sheet.get()), shown, 0);
        return shown.join(QStringLiteral("; ")).toStdString();
    }

    static void collectNotifications(QAccessibleInterface *node, QStringList &shown, int depth)
    {
        if (!node || depth > 64 || node->state().invisible)
            return;
        if (node->role() == QAccessible::Notification)
            shown << node->text(QAccessible::Name);
        for (int i = 0; i < node->childCount(); ++i)
            collectNotifications(node->child(i), shown, depth + 1);
    }

    static void expectDialogNamed(QWidget *view, const QString &name)
    {
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(accessible(view)->role(), QAccessible::Dialog);
        EXPECT_EQ(nameOf(view), name);
    }
};

TEST_F(AccessibilityTreeTest, TheGateNamesItsMaskedFieldAndItsButton)
{
    LumivaneProject project = richTour();
    project.tourPassword = QStringLiteral("secret");
    open(project);
    auto *field = sheet->faceView()->findChild<PasswordField *>();
    ASSERT_NE(field, nullptr);
    QAccessibleInterface *read = accessible(field);
    EXPECT_EQ(read->role(), QAccessible::EditableText);
    EXPECT_EQ(read->text(QAccessible::Name), QStringLiteral("Mot de passe"));
    EXPECT_TRUE(read->state().passwordEdit);
    expectEveryControlNamedAndReachable();
}

TEST_F(AccessibilityTreeTest, TheCoverNamesItsStartButtonWithItsHintAndItsLinks)
{
    open(richTour());
    QAbstractButton *start = nullptr;
    for (auto *button : sheet->faceView()->findChildren<QAbstractButton *>()) {
        if (nameOf(button) == QStringLiteral("Lancer la visite virtuelle"))
            start = button;
    }
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(accessible(start)->role(), QAccessible::Button);
    EXPECT_EQ(accessible(start)->text(QAccessible::Description), QStringLiteral("Démarre le parcours de 5 stations"));
    expectEveryControlNamedAndReachable();

    controller().setContactFormVisible(true);
    QWidget *form = sheet->faceChrome().findChild<QWidget *>();
    for (QWidget *view : sheet->faceChrome().findChildren<QWidget *>()) {
        if (accessible(view)->role() == QAccessible::Dialog)
            form = view;
    }
    expectDialogNamed(form, QStringLiteral("Nous contacter"));
    expectEveryControlNamedAndReachable();
}

TEST_F(AccessibilityTreeTest, TheStationViewNamesEveryControlItsInfoPointAndItsCards)
{
    openStarted(richTour());
    expectEveryControlNamedAndReachable();

    controller().togglePropertyInfo();
    expectDialogNamed(shownView(ViewerLayer::propertyInfo), QStringLiteral("Informations"));
    controller().togglePropertyInfo();
    controller().setShowKeyboardHelp(true);
    expectDialogNamed(shownView(ViewerLayer::keyboardHelp), QStringLiteral("Raccourcis clavier"));
    controller().setShowKeyboardHelp(false);
    controller().setShowFeedback(true);
    expectDialogNamed(shownView(ViewerLayer::feedback), QStringLiteral("Ton avis compte"));
    expectEveryControlNamedAndReachable();
    controller().setShowFeedback(false);
    HotspotAttachment photo;
    photo.kind = AttachmentKind::pdf;
    photo.title = QStringLiteral("Plan du rez-de-chaussée");
    controller().openAttachment(photo);
    expectDialogNamed(shownView(ViewerLayer::lightbox), QStringLiteral("Plan du rez-de-chaussée"));
}

TEST_F(AccessibilityTreeTest, TheInformationPanelReadsEveryRowAsLabelAndValue)
{
    const LumivaneProject project = richTour();
    openStarted(project);
    controller().togglePropertyInfo();
    auto *body = widgetOfType<InfoGroupsBody>(shownView(ViewerLayer::propertyInfo));
    ASSERT_NE(body, nullptr);
    QAccessibleInterface *list = accessible(body);

    // A screen reader's review reads each line by its name alone.
    QStringList read;
    for (int i = 0; i < list->childCount(); ++i) {
        QAccessibleInterface *line = list->child(i);
        read << (line->role() == QAccessible::Heading ? QStringLiteral("# ") : QString()) + line->text(QAccessible::Name);
    }
    QStringList painted;
    for (const LumivaneInfoGroup &group : buildInfoGroups(project, language)) {
        painted << QStringLiteral("# ") + group.title;
        for (const LumivaneInfoItem &item : group.items)
            painted << item.label + QStringLiteral(" : ") + item.value;
    }
    EXPECT_EQ(read.join(u'\n').toStdString(), painted.join(u'\n').toStdString());
    EXPECT_TRUE(std::any_of(read.cbegin(), read.cend(), [](const QString &line) { return line.startsWith("Prix : "); }));
}

TEST_F(AccessibilityTreeTest, TheTableOfContentsMarksTheCurrentStationAndNamesItsSearch)
{
    openStarted(richTour(9));
    controller().goToStation(TestTours::stationID(4));
    waitForStationChange();
    controller().setShowTableOfContents(true);
    QWidget *sheetView = shownView(ViewerLayer::tableOfContents);
    expectDialogNamed(sheetView, QStringLiteral("Table des matières"));
    EXPECT_EQ(nameOf(sheetView->findChild<QLineEdit *>()), QStringLiteral("Chercher une station…"));
    auto *grid = widgetOfType<StationCardGrid>(sheetView);
    ASSERT_NE(grid, nullptr);
    QAccessibleInterface *cards = accessible(grid);
    QStringList selected;
    int buttons = 0;
    for (int i = 0; i < cards->childCount(); ++i) {
        QAccessibleInterface *card = cards->child(i);
        if (card->role() != QAccessible::Button)
            continue;
        ++buttons;
        EXPECT_TRUE(card->state().focusable);
        if (card->state().selected)
            selected << card->text(QAccessible::Name);
    }
    EXPECT_EQ(buttons, 9);
    EXPECT_EQ(selected, QStringList{QStringLiteral("Aller à la station Station 4")});
}

/// How many times a widget was shown, which for a notification is how many
/// times a screen reader speaks it.
struct ShowCount final : QObject
{
    bool eventFilter(QObject *, QEvent *event) override
    {
        count += event->type() == QEvent::Show;
        return false;
    }
    int count = 0;
};

TEST_F(AccessibilityTreeTest, EachStationArrivedAtIsANotificationNamedByItOncePerArrival)
{
    open(richTour());
    ShowCount shows;
    for (QWidget *child : sheet->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (dynamic_cast<ScreenReaderNotice *>(child)) // no meta-object of its own
            child->installEventFilter(&shows);
    }
    EXPECT_EQ(notificationsShown(), "") << "the cover";
    controller().startTour();
    EXPECT_EQ(notificationsShown(), "Station 1");
    // Whatever else changes at the station is no arrival.
    controller().zoomIn();
    controller().togglePropertyInfo();
    controller().togglePropertyInfo();
    EXPECT_EQ(shows.count, 1);
    controller().goToStation(TestTours::stationID(4));
    waitForStationChange();
    EXPECT_EQ(notificationsShown(), "Station 4");
    EXPECT_EQ(shows.count, 2);
}

TEST_F(AccessibilityTreeTest, TheFeedbackRatingsReadAsCheckedWhenChosenAndStaySo)
{
    openStarted(richTour());
    controller().setShowFeedback(true);
    auto *card = dynamic_cast<VisitorFeedbackSheet *>(shownView(ViewerLayer::feedback));
    ASSERT_NE(card, nullptr);
    QList<QAbstractButton *> ratings;
    for (auto *button : card->findChildren<QAbstractButton *>()) {
        if (accessible(button)->state().checkable)
            ratings << button;
    }
    ASSERT_EQ(ratings.size(), 2);
    EXPECT_FALSE(accessible(ratings[0])->state().checked);
    card->setRating(Rating::negative);
    EXPECT_FALSE(accessible(ratings[0])->state().checked);
    EXPECT_TRUE(accessible(ratings[1])->state().checked);
    // A second click on the chosen rating takes nothing back.
    ratings[1]->click();
    EXPECT_TRUE(accessible(ratings[1])->state().checked);
    EXPECT_EQ(card->rating(), Rating::negative);
    EXPECT_EQ(nameOf(ratings[1]), QStringLiteral("Négatif"));
    EXPECT_EQ(nameOf(card->findChild<QPlainTextEdit *>()), QStringLiteral("Un mot à ajouter ?"));
}

TEST_F(AccessibilityTreeTest, TourTextsAreReadAsTheViewsShowThemCutAndWithoutControlCharacters)
{
    for (const HostileTexts::Text &hostile : HostileTexts::all()) {
        SCOPED_TRACE(hostile.name);
        const QString &text = hostile.text;
        LumivaneProject project = richTour(9);
        for (Station &station : project.stations)
            station.name = text;
        project.stations[0].publicCaption = text;
        project.watermarkText = text;
        project.coverContactWebsite = text;
        project.customFields = {CustomField{QUuid::createUuid(), text, CustomFieldType::text, text}};
        FormField question;
        question.id = QUuid::createUuid();
        question.label = text;
        project.contactFormCustomFields = {question};
        Hotspot &info = project.stations[0].hotspots.last();
        info.infoTitle = text;
        info.infoDescription = text;
        HotspotAttachment document;
        document.kind = AttachmentKind::pdf;
        document.payload = QStringLiteral("plan.pdf");
        document.title = text;
        info.attachments = {document};
        const Hotspot shownInfo = info;

        open(project);
        EXPECT_EQ(textsReadUncut(), "") << "cover";
        controller().setContactFormVisible(true);
        EXPECT_EQ(textsReadUncut(), "") << "contact form";
        controller().setContactFormVisible(false);
        controller().startTour();
        controller().toggleThumbBar();
        controller().showInfoCard(shownInfo);
        EXPECT_EQ(textsReadUncut(), "") << "station, strip and info card";
        controller().togglePropertyInfo();
        EXPECT_EQ(textsReadUncut(), "") << "information panel";
        controller().togglePropertyInfo();
        controller().setShowTableOfContents(true);
        EXPECT_EQ(textsReadUncut(), "") << "table of contents";
    }
}

} // namespace

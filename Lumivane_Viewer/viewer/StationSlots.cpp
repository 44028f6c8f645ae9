// The places of ViewerSlots in the station view.

#include "viewer/ViewerSlots.h"

#include "l10n/L10n.h"
#include "media/symbols/CapsuleButton.h"
#include "media/symbols/RoundSymbolLabels.h"
#include "media/symbols/SymbolButton.h"
#include "model/SystemFont.h"
#include "viewer/ViewerStandIns.h"
#include "viewer/state/ViewerController.h"

#include <QBoxLayout>
#include <QLinearGradient>
#include <QPainter>

namespace {

/// Runs update now and after every change of the controller's state, for as
/// long as view lives.
template<typename Update>
void follow(ViewerController &controller, QWidget *view, Update update)
{
    update();
    QObject::connect(&controller, &ViewerController::stateChanged, view, [update] { update(); });
}

QString currentStationName(const ViewerController &controller, const QString &none)
{
    const std::optional<Station> station = controller.currentStation();
    return station ? station->name : none;
}

SymbolButton *symbolButton(const SymbolButtonLook &look, const QString &help, QWidget *parent,
                           std::function<void()> action)
{
    auto *button = new SymbolButton(look, parent);
    button->setToolTip(help);
    button->setAccessibleName(help);
    QObject::connect(button, &QAbstractButton::clicked, parent, [action = std::move(action)] { action(); });
    return button;
}

QWidget *row(QWidget *parent, int spacing)
{
    auto *container = new QWidget(parent);
    auto *layout = new QHBoxLayout(container);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return container;
}

QBoxLayout *boxOf(QWidget *container)
{
    return static_cast<QBoxLayout *>(container->layout());
}

StandInCard *modalCard(const QString &title, const char *name, QWidget *parent, std::function<void()> close)
{
    auto *card = new StandInCard(title, true, parent);
    card->setObjectName(name);
    card->onClose = std::move(close);
    return card;
}

/// The black page shown while the viewer starts: the brand word, an accent
/// dot and the loading line.
class SplashStandIn final : public QWidget
{
public:
    SplashStandIn(QColor accent, QString loading, QWidget *parent)
        : QWidget(parent)
        , m_accent(accent)
        , m_loading(std::move(loading))
    {
        setObjectName("splash");
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillRect(rect(), Qt::black);
        painter.setPen(Qt::white);
        painter.setFont(systemFont(46, QFont::Normal, FontDesign::serif, true));
        const QRect word = rect().adjusted(0, 0, 0, -40);
        painter.drawText(word, Qt::AlignCenter, QStringLiteral("Lumivane"));
        const QRect wordBox = painter.fontMetrics().boundingRect(word, Qt::AlignCenter, QStringLiteral("Lumivane"));
        painter.setPen(Qt::NoPen);
        painter.setBrush(m_accent);
        painter.drawEllipse(QRectF(wordBox.right() + 4, wordBox.bottom() - 22, 8, 8));
        painter.setPen(QColor::fromRgbF(1, 1, 1, 0.55f));
        painter.setFont(systemFont(12, QFont::Normal, FontDesign::serif, true));
        painter.drawText(rect().adjusted(0, wordBox.height() + 18, 0, 0), Qt::AlignCenter, m_loading);
    }

private:
    QColor m_accent;
    QString m_loading;
};

/// The watermark text: serif italic, white at the tour's opacity.
class WatermarkStandIn final : public QWidget
{
public:
    WatermarkStandIn(QString text, double opacity, QWidget *parent)
        : QWidget(parent)
        , m_text(std::move(text))
        , m_opacity(opacity)
    {
        setObjectName("watermark");
    }

    QSize sizeHint() const override
    {
        const QFontMetrics metrics(font());
        return {std::min(metrics.horizontalAdvance(m_text.left(400)), 600) + 24, metrics.height() + 12};
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setFont(font());
        painter.setPen(QColor::fromRgbF(1, 1, 1, float(std::clamp(m_opacity, 0.0, 1.0))));
        const QRect text = rect().adjusted(12, 6, -12, -6);
        painter.drawText(text, Qt::AlignCenter, painter.fontMetrics().elidedText(m_text, Qt::ElideRight, text.width()));
    }

private:
    QString m_text;
    double m_opacity;
};

/// The classic station's name over a darkening band at the bottom.
class CaptionBandStandIn final : public QWidget
{
public:
    explicit CaptionBandStandIn(QWidget *parent)
        : QWidget(parent)
    {
        setObjectName("captionBand");
    }

    void setName(const QString &name)
    {
        m_name = name;
        update();
    }

    QSize sizeHint() const override { return {400, 110}; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QLinearGradient band(0, 0, 0, height());
        band.setColorAt(0, QColor::fromRgbF(0, 0, 0, 0));
        band.setColorAt(1, QColor::fromRgbF(0, 0, 0, 0.55f));
        painter.fillRect(rect(), band);
        painter.setPen(Qt::white);
        painter.setFont(systemFont(22, QFont::Bold));
        const QRect text = rect().adjusted(30, 0, -30, -24);
        painter.drawText(text, Qt::AlignHCenter | Qt::AlignBottom,
                         painter.fontMetrics().elidedText(m_name.left(2000), Qt::ElideRight, text.width()));
    }

private:
    QString m_name;
};

} // namespace

namespace ViewerSlots {

QWidget *header(const ViewerSlotContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    const L10n &language = *context.services.language;
    QWidget *bar = row(parent, 12);
    bar->setObjectName("header");
    QBoxLayout *box = boxOf(bar);
    box->addSpacing(60);
    auto *back = symbolButton(historyButtonLabel("chevron.left"), language.text(L10n::Key::viewerNavPrevious), bar,
                              [&controller] { controller.navigateBack(); });
    auto *forward = symbolButton(historyButtonLabel("chevron.right"), language.text(L10n::Key::viewerNavNext), bar,
                                 [&controller] { controller.navigateForward(); });
    auto *name = new StandInCapsule({}, bar);
    box->addWidget(back);
    box->addWidget(forward);
    box->addWidget(name);
    box->addStretch(1);
    CapsuleButtonLook infoLook;
    infoLook.symbol = QStringLiteral("info.circle.fill");
    infoLook.background = QColor::fromRgbF(0, 0, 0, 0.55f);
    auto *info = new CapsuleButton(infoLook, language.text(L10n::Key::infoShort), bar);
    QObject::connect(info, &QAbstractButton::clicked, bar, [&controller] { controller.togglePropertyInfo(); });
    box->addWidget(info);
    box->addWidget(symbolButton(viewerCloseButtonLabel(), language.text(L10n::Key::closeTourA11y), bar,
                                [&controller] { controller.closeViewer(); }));
    follow(controller, bar, [&controller, back, forward, name] {
        back->setEnabled(controller.canGoBack());
        forward->setEnabled(controller.canGoForward());
        name->setText(currentStationName(controller, QString::fromUtf8("\u2014")));
    });
    return bar;
}

QWidget *controlBar(const ViewerSlotContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    const L10n &language = *context.services.language;
    const LumivaneProject &project = controller.project();
    const bool panorama = project.renderMode != RenderMode::classic;
    auto *column = new QWidget(parent);
    column->setObjectName("controlBar");
    auto *box = new QVBoxLayout(column);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(8);
    const auto add = [&](const char *symbol, L10n::Key help, std::function<void()> action) {
        auto *button = symbolButton(roundIconLabelCompact(symbol), language.text(help), column, std::move(action));
        box->addWidget(button);
        return button;
    };
    add("chevron.backward.circle.fill", L10n::Key::backHome, [&controller] { controller.backToCover(); });
    add("house.fill", L10n::Key::backToTourStart, [&controller] { controller.goToStartStation(); });
    if (panorama) {
        add("plus.magnifyingglass", L10n::Key::zoomIn, [&controller] { controller.zoomIn(); });
        add("minus.magnifyingglass", L10n::Key::zoomOut, [&controller] { controller.zoomOut(); });
        add("level.fill", L10n::Key::levelHorizon, [&controller] { controller.levelHorizon(); });
    }
    if (project.stations.size() >= 4) {
        add("list.bullet.rectangle", L10n::Key::viewerTableOfContentsHelp,
            [&controller] { controller.setShowTableOfContents(true); });
    }
    SymbolButton *thumbs = add("rectangle.stack", L10n::Key::showThumbBar, [&controller] { controller.toggleThumbBar(); });
    add("arrow.up.left.and.arrow.down.right", L10n::Key::immersionMode,
        [&controller] { controller.setImmersiveMode(true); });
    SymbolButton *vr = panorama ? add("vision.pro", L10n::Key::vrMode, [&controller] { controller.toggleVRMode(); })
                                : nullptr;
    if (project.kioskEnabled)
        add("play.fill", L10n::Key::viewerKioskPlayHelp, [&controller] { controller.toggleKiosk(); });
    if (controller.feedbackRecipient())
        add("hand.thumbsup", L10n::Key::viewerFeedbackHelp, [&controller] { controller.setShowFeedback(true); });
    follow(controller, column, [&controller, thumbs, vr] {
        thumbs->setSymbol(controller.state().thumbBarVisible ? "rectangle.stack.fill" : "rectangle.stack");
        if (vr)
            vr->setSymbol(controller.state().vrMode ? "eye.slash" : "vision.pro");
    });
    return column;
}

QWidget *immersiveExit(const ViewerSlotContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    auto *button = symbolButton(immersiveExitLabel(), context.services.language->text(L10n::Key::exitImmersion),
                                parent, [&controller] { controller.setImmersiveMode(false); });
    button->setObjectName("immersiveExit");
    return button;
}

QWidget *kioskHeader(const ViewerSlotContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    QWidget *bar = row(parent, 8);
    bar->setObjectName("kioskHeader");
    auto *name = new StandInCapsule({}, bar);
    boxOf(bar)->addWidget(name);
    boxOf(bar)->addStretch(1);
    CapsuleButtonLook stopLook;
    stopLook.symbol = QStringLiteral("pause.fill");
    stopLook.background = context.accent;
    stopLook.horizontalPadding = 14;
    stopLook.verticalPadding = 9;
    auto *stop = new CapsuleButton(stopLook, context.services.language->text(L10n::Key::stopKiosk), bar);
    QObject::connect(stop, &QAbstractButton::clicked, bar, [&controller] { controller.stopKiosk(); });
    boxOf(bar)->addWidget(stop);
    follow(controller, bar, [&controller, name] { name->setText(currentStationName(controller, {})); });
    return bar;
}

QWidget *infoCard(const ViewerSlotContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    const L10n &language = *context.services.language;
    auto *card = new StandInCard({}, false, parent);
    card->setObjectName("infoCard");
    card->onClose = [&controller] { controller.closeInfoCard(); };
    follow(controller, card, [&controller, &language, card] {
        if (const std::optional<Hotspot> &hotspot = controller.state().selectedInfoHotspot) {
            card->setTitle(hotspot->localizedInfoTitle(controller.visitorLanguageCode())
                               .value_or(language.text(L10n::Key::viewerInfoDefaultTitle)));
        }
    });
    return card;
}

QWidget *propertyInfo(const ViewerSlotContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    return modalCard(controller.project().name, "propertyInfo", parent, [&controller] { controller.closePropertyInfo(); });
}

QWidget *floorPlan(const ViewerSlotContext &, QWidget *)
{
    return nullptr;
}

QWidget *thumbStrip(const ViewerSlotContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    const L10n &language = *context.services.language;
    QWidget *strip = row(parent, 8);
    strip->setObjectName("thumbStrip");
    boxOf(strip)->setContentsMargins(0, 0, 0, 16);
    boxOf(strip)->addStretch(1);
    boxOf(strip)->addWidget(symbolButton(historyButtonLabel("chevron.left"), language.text(L10n::Key::previous), strip,
                                         [&controller] { controller.goToPreviousStation(); }));
    auto *name = new StandInCapsule({}, strip);
    boxOf(strip)->addWidget(name);
    boxOf(strip)->addWidget(symbolButton(historyButtonLabel("chevron.right"), language.text(L10n::Key::next), strip,
                                         [&controller] { controller.goToNextStation(); }));
    boxOf(strip)->addStretch(1);
    follow(controller, strip, [&controller, name] { name->setText(currentStationName(controller, {})); });
    return strip;
}

QWidget *splash(const ViewerSlotContext &context, QWidget *parent)
{
    return new SplashStandIn(context.accent, context.services.language->text(L10n::Key::viewerLoading), parent);
}

QWidget *lightbox(const ViewerSlotContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    const std::optional<LightboxContent> &content = controller.state().lightboxContent;
    return modalCard(content ? content->title : QString(), "lightbox", parent,
                     [&controller] { controller.closeLightbox(); });
}

QWidget *feedback(const ViewerSlotContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    return modalCard(controller.feedbackRecipient().value_or(QString()), "feedback", parent,
                     [&controller] { controller.setShowFeedback(false); });
}

QWidget *keyboardHelp(const ViewerSlotContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    return modalCard(context.services.language->text(L10n::Key::shortcutsHelp), "keyboardHelp", parent,
                     [&controller] { controller.setShowKeyboardHelp(false); });
}

QWidget *tableOfContents(const ViewerSlotContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    return modalCard(context.services.language->text(L10n::Key::tableOfContents), "tableOfContents", parent,
                     [&controller] { controller.setShowTableOfContents(false); });
}

QWidget *watermark(const ViewerSlotContext &context, QWidget *parent)
{
    const LumivaneProject &project = context.controller.project();
    auto *mark = new WatermarkStandIn(project.watermarkText.value_or(QString()).trimmed(), project.watermarkOpacity,
                                      parent);
    mark->setFont(systemFont(11, QFont::Medium, FontDesign::serif, true));
    return mark;
}

QWidget *captionBand(const ViewerSlotContext &context, QWidget *parent)
{
    ViewerController &controller = context.controller;
    auto *band = new CaptionBandStandIn(parent);
    follow(controller, band, [&controller, band] {
        const std::optional<Station> station = controller.currentStation();
        band->setName(station ? station->localizedName(controller.visitorLanguageCode()) : QString());
    });
    return band;
}

QWidget *classicMarker(const ViewerSlotContext &context, const Hotspot &hotspot, QWidget *parent)
{
    ViewerController &controller = context.controller;
    const SymbolButtonLook look{36, QStringLiteral("info"), 18, Qt::white, std::nullopt, context.accent};
    auto *marker = symbolButton(look, hotspot.localizedInfoTitle(controller.visitorLanguageCode()).value_or(QString()),
                                parent, [&controller, hotspot] { controller.showInfoCard(hotspot); });
    marker->setObjectName("classicMarker");
    return marker;
}

} // namespace ViewerSlots

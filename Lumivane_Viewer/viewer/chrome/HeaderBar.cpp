#include "HeaderBar.h"

#include "l10n/L10n.h"
#include "widgets/CapsuleButton.h"
#include "widgets/CapsuleLabel.h"
#include "widgets/RoundSymbolLabels.h"
#include "widgets/SymbolButton.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

void call(const std::function<void()> &callback)
{
    if (callback)
        callback();
}

} // namespace

HeaderBar::HeaderBar(L10n &l10n, QWidget *parent)
    : ChromeLayer(parent)
    , m_l10n(&l10n)
    , m_back(new SymbolButton(historyButtonLabel(QStringLiteral("chevron.left")), this))
    , m_forward(new SymbolButton(historyButtonLabel(QStringLiteral("chevron.right")), this))
    , m_stationName(new CapsuleLabel(capsuleLook(Capsule::stationName), this))
    , m_branding(new CapsuleLabel(capsuleLook(Capsule::branding), this))
    , m_info(new CapsuleButton(capsuleLook(Capsule::headerInfo), QString(), this))
    , m_close(new SymbolButton(viewerCloseButtonLabel(), this))
{
    auto *row = new QHBoxLayout;
    row->setSpacing(12);
    // Box layouts put no spacing around spacer items: the corner has its gap.
    row->addSpacing(kLanguagePickerCorner);
    for (QWidget *item : {static_cast<QWidget *>(m_back), static_cast<QWidget *>(m_forward),
                          static_cast<QWidget *>(m_stationName), static_cast<QWidget *>(m_branding)})
        row->addWidget(item, 0, Qt::AlignVCenter);
    row->addStretch(1);
    row->addWidget(m_info, 0, Qt::AlignVCenter);
    row->addWidget(m_close, 0, Qt::AlignVCenter);

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(20, 16, 20, 0);
    column->addLayout(row);
    column->addStretch(1);

    m_branding->hide();
    connect(m_back, &QAbstractButton::clicked, this, [this] { call(onNavigateBack); });
    connect(m_forward, &QAbstractButton::clicked, this, [this] { call(onNavigateForward); });
    connect(m_info, &QAbstractButton::clicked, this, [this] { call(onTogglePropertyInfo); });
    connect(m_close, &QAbstractButton::clicked, this, [this] { call(onClose); });
    connect(m_l10n, &L10n::currentChanged, this, &HeaderBar::retranslate);
    setInputs(m_inputs);
    retranslate();
}

void HeaderBar::setInputs(const Inputs &inputs)
{
    m_inputs = inputs;
    m_back->setEnabled(inputs.canGoBack);
    m_forward->setEnabled(inputs.canGoForward);
    m_stationName->setText(inputs.stationName.value_or(QStringLiteral("—")));
}

void HeaderBar::setBranding(const HeaderBranding &branding)
{
    m_branding->setImage(QImage());
    m_branding->setText(branding.agencyName);
    m_branding->setVisible(branding.shown);
    // A huge logo takes seconds even reduced, which the station view must not wait for.
    if (const std::optional<QByteArray> bytes = branding.logoData)
        m_logoDecode.start([bytes] { return decodeHeaderLogo(*bytes); },
                           [this](const QImage &logo) { m_branding->setImage(logo); });
    else
        m_logoDecode.cancel();
}

void HeaderBar::retranslate()
{
    using Key = L10n::Key;
    m_back->setToolTip(m_l10n->text(Key::viewerNavPrevious));
    m_back->setAccessibleName(m_l10n->text(Key::viewerNavPrevious));
    m_forward->setToolTip(m_l10n->text(Key::viewerNavNext));
    m_forward->setAccessibleName(m_l10n->text(Key::viewerNavNext));
    m_info->setText(m_l10n->text(Key::infoShort));
    m_info->setAccessibleName(m_l10n->text(Key::showInfoA11y));
    m_close->setAccessibleName(m_l10n->text(Key::closeTourA11y));
}

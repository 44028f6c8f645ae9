#include "KioskHeader.h"

#include "l10n/L10n.h"
#include "widgets/CapsuleButton.h"
#include "widgets/CapsuleLabel.h"

#include <algorithm>

namespace {

constexpr int kSideMargin = 20;
constexpr int kTopMargin = 16;
constexpr int kSpacing = 8;

} // namespace

KioskHeader::KioskHeader(L10n &l10n, QWidget *parent)
    : ChromeLayer(parent)
    , m_l10n(&l10n)
    , m_stationName(new CapsuleLabel(capsuleLook(Capsule::stationName), this))
    , m_stop(new CapsuleButton(capsuleLook(Capsule::kioskStop, m_inputs.accent), QString(), this))
{
    connect(m_stop, &QAbstractButton::clicked, this, [this] {
        if (onStopKiosk)
            onStopKiosk();
    });
    connect(m_l10n, &L10n::currentChanged, this, &KioskHeader::retranslate);
    retranslate();
}

void KioskHeader::setInputs(const Inputs &inputs)
{
    if (inputs.accent != m_inputs.accent)
        m_stop->setLook(capsuleLook(Capsule::kioskStop, inputs.accent));
    m_inputs = inputs;
    m_stationName->setText(inputs.stationName);
    placeRow();
}

void KioskHeader::retranslate()
{
    m_stop->setText(m_l10n->text(L10n::Key::stopKiosk));
    m_stop->setAccessibleName(m_l10n->text(L10n::Key::stopKioskA11y));
    placeRow();
}

void KioskHeader::resizeEvent(QResizeEvent *event)
{
    ChromeLayer::resizeEvent(event);
    placeRow();
}

// The two capsules share a middle line; the stop button's widget is larger
// than its capsule by the room its shadow needs.
void KioskHeader::placeRow()
{
    const QMargins shadow = m_stop->contentsMargins();
    const QSize stopSize = m_stop->sizeHint();
    const int stopCapsuleHeight = stopSize.height() - shadow.top() - shadow.bottom();
    const int stopCapsuleWidth = stopSize.width() - shadow.left() - shadow.right();
    const QSize nameHint = m_stationName->sizeHint();
    const int rowHeight = std::max(nameHint.height(), stopCapsuleHeight);
    const int middle = kTopMargin + rowHeight / 2;

    const int stopLeft = width() - kSideMargin - stopCapsuleWidth;
    m_stop->setGeometry(stopLeft - shadow.left(), middle - stopCapsuleHeight / 2 - shadow.top(), stopSize.width(),
                        stopSize.height());
    const int nameLeft = kSideMargin + kLanguagePickerCorner;
    const int nameRoom = std::max(0, stopLeft - kSpacing - nameLeft);
    const int nameWidth = std::clamp(nameHint.width(), std::min(nameRoom, m_stationName->minimumSizeHint().width()), nameRoom);
    m_stationName->setGeometry(nameLeft, middle - nameHint.height() / 2, nameWidth, nameHint.height());
}

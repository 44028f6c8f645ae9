#include "CoverActionButtons.h"

#include "CoverColumnFrame.h"

#include "widgets/CapsuleButton.h"
#include "model/Palette.h"
#include "model/SystemFont.h"
#include "panels/common/CardWidgets.h"

#include <algorithm>

namespace {

constexpr int kSpacing = 12;
constexpr int kStartTopPadding = 8;

CapsuleButtonLook startLook(const QColor &accent)
{
    CapsuleButtonLook look;
    look.symbol = QStringLiteral("play.fill");
    look.symbolPoints = 13;
    look.font = systemFont(15, QFont::DemiBold);
    look.spacing = 10;
    look.horizontalPadding = 28;
    look.verticalPadding = 14;
    look.background = accent;
    look.shadow = DropShadow{withAlpha(accent, 0.4), 12, QPointF(0, 6)};
    look.disabledOpacity = 0.4;
    return look;
}

CapsuleButtonLook contactLook()
{
    CapsuleButtonLook look;
    look.symbol = QStringLiteral("envelope.fill");
    look.symbolPoints = 12;
    look.font = systemFont(14, QFont::DemiBold);
    look.spacing = 8;
    look.horizontalPadding = 20;
    look.verticalPadding = 12;
    look.background = withAlpha(Qt::white, 0.15);
    look.outline = CapsuleOutline{withAlpha(Qt::white, 0.25), 1};
    return look;
}

} // namespace

CoverActionButtons::CoverActionButtons(QWidget *parent)
    : QWidget(parent)
    , m_start(new CapsuleButton(startLook(QColor()), QString(), parent))
    , m_contact(new CapsuleButton(contactLook(), QString(), parent))
{
    Q_ASSERT(parent);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_contact->hide();
}

void CoverActionButtons::setAccent(const QColor &accent)
{
    m_start->setLook(startLook(accent));
    updateGeometry();
    placeButtons();
}

void CoverActionButtons::setContactShown(bool shown)
{
    m_contact->setVisible(shown);
    updateGeometry();
    placeButtons();
}

void CoverActionButtons::setTexts(const QString &start, const QString &contact)
{
    m_start->setText(start);
    m_contact->setText(contact);
    updateGeometry();
    placeButtons();
}

QSize CoverActionButtons::startCapsule() const
{
    return m_start->sizeHint().shrunkBy(m_start->contentsMargins());
}

QSize CoverActionButtons::contactCapsule(int rowWidth) const
{
    if (m_contact->isHidden())
        return QSize();
    const QSize wanted = m_contact->sizeHint();
    const int room = rowWidth - startCapsule().width() - kSpacing;
    return QSize(std::max(wanted.height(), std::min(room, wanted.width())), wanted.height());
}

QSize CoverActionButtons::sizeHint() const
{
    const QSize start = startCapsule();
    const QSize contact = contactCapsule(CoverColumnFrame::maxColumnWidth);
    const int width = start.width() + (contact.isEmpty() ? 0 : kSpacing + contact.width());
    return QSize(width, std::max(start.height() + kStartTopPadding, contact.height()));
}

void CoverActionButtons::placeButtons()
{
    const QSize start = startCapsule();
    const QSize contact = contactCapsule(width());
    const QSize total(start.width() + (contact.isEmpty() ? 0 : kSpacing + contact.width()), sizeHint().height());
    const QPoint origin = pos() + QPoint((width() - total.width()) / 2, (height() - total.height()) / 2);
    // The start button's frame holds its top padding; the frame, not the
    // capsule, is centred on the row.
    const int startFrameTop = (total.height() - start.height() - kStartTopPadding) / 2;
    const QRect startCapsuleRect(origin + QPoint(0, startFrameTop + kStartTopPadding), start);
    m_start->setGeometry(startCapsuleRect.marginsAdded(m_start->contentsMargins()));
    if (!contact.isEmpty()) {
        const QPoint contactOrigin = origin + QPoint(start.width() + kSpacing, (total.height() - contact.height()) / 2);
        m_contact->setGeometry(QRect(contactOrigin, contact));
    }
}

void CoverActionButtons::moveEvent(QMoveEvent *)
{
    placeButtons();
}

void CoverActionButtons::resizeEvent(QResizeEvent *)
{
    placeButtons();
}

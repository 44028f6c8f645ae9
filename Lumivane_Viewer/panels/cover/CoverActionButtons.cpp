#include "CoverActionButtons.h"

#include "CoverColumnFrame.h"

#include "model/SystemFont.h"
#include "panels/common/CardWidgets.h"
#include "widgets/CapsuleButton.h"

#include <algorithm>

namespace {

constexpr int kSpacing = 12;
constexpr int kStartTopPadding = 8;

} // namespace

CoverActionButtons::CoverActionButtons(QWidget *parent)
    : QWidget(parent)
    , m_start(new CapsuleButton(capsuleLook(Capsule::coverStart), QString(), parent))
    , m_contact(new CapsuleButton(capsuleLook(Capsule::coverContact), QString(), parent))
{
    Q_ASSERT(parent);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_contact->hide();
}

void CoverActionButtons::setAccent(const QColor &accent)
{
    m_start->setLook(capsuleLook(Capsule::coverStart, accent));
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

#include "viewer/ViewerStandIns.h"

#include "media/symbols/CapsuleButton.h"
#include "media/symbols/RoundSymbolLabels.h"
#include "model/SystemFont.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include <cmath>

namespace {

constexpr int capsuleHorizontalPadding = 14;
constexpr int capsuleVerticalPadding = 8;
constexpr int capsuleMaximumTextWidth = 480;
constexpr int cardWidth = 380;
constexpr int cardHeight = 120;

QFont capsuleFont()
{
    return systemFont(14, QFont::DemiBold);
}

} // namespace

StandInCapsule::StandInCapsule(const QString &text, QWidget *parent)
    : QWidget(parent)
    , m_text(text)
{
    setAttribute(Qt::WA_TranslucentBackground);
}

void StandInCapsule::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
    updateGeometry();
    update();
}

QSize StandInCapsule::sizeHint() const
{
    const QFontMetricsF metrics(capsuleFont());
    const int textWidth = std::min(int(std::ceil(metrics.horizontalAdvance(m_text.left(400)))) + 1,
                                   capsuleMaximumTextWidth);
    return {textWidth + 2 * capsuleHorizontalPadding, int(std::ceil(metrics.height())) + 2 * capsuleVerticalPadding};
}

QSize StandInCapsule::minimumSizeHint() const
{
    return {2 * capsuleHorizontalPadding, sizeHint().height()};
}

void StandInCapsule::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgbF(0, 0, 0, 0.55f));
    const QRectF capsule = rect();
    painter.drawRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
    painter.setFont(capsuleFont());
    painter.setPen(Qt::white);
    const QRect text = rect().adjusted(capsuleHorizontalPadding, 0, -capsuleHorizontalPadding, 0);
    // One line whatever the text holds: a name may be any length.
    QString line = m_text.left(2000);
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    painter.drawText(text, Qt::AlignCenter, painter.fontMetrics().elidedText(line, Qt::ElideRight, text.width()));
}

StandInCard::StandInCard(const QString &title, bool modal, QWidget *parent)
    : QWidget(parent)
    , m_title(title)
    , m_modal(modal)
{
    setAttribute(Qt::WA_TranslucentBackground);
    auto *close = new SymbolButton(viewerCloseButtonLabel(), this);
    connect(close, &QAbstractButton::clicked, this, [this] {
        if (onClose)
            onClose();
    });
    m_close = close;
}

void StandInCard::setTitle(const QString &title)
{
    m_title = title;
    update();
}

QSize StandInCard::sizeHint() const
{
    return {cardWidth, cardHeight};
}

QRect StandInCard::cardRect() const
{
    if (!m_modal)
        return rect();
    QRect card(0, 0, std::min(cardWidth, width()), std::min(cardHeight, height()));
    card.moveCenter(rect().center());
    return card;
}

void StandInCard::resizeEvent(QResizeEvent *)
{
    const QRect card = cardRect();
    m_close->setGeometry(card.right() - 12 - 32, card.top() + 12, 32, 32);
}

void StandInCard::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (m_modal)
        painter.fillRect(rect(), QColor::fromRgbF(0, 0, 0, 0.45f));
    const QRect card = cardRect();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1b, 0x2a, 0x4e, 235));
    painter.drawRoundedRect(card, 14, 14);
    painter.setPen(Qt::white);
    painter.setFont(systemFont(17, QFont::DemiBold));
    const QRect text = card.adjusted(20, 0, -56, 0);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter,
                     painter.fontMetrics().elidedText(m_title.left(2000), Qt::ElideRight, text.width()));
}

StandInFace::StandInFace(const QString &tourName, const QString &buttonText, std::optional<QString> password,
                         QWidget *parent)
    : QWidget(parent)
    , m_password(std::move(password))
{
    auto *column = new QVBoxLayout(this);
    column->setSpacing(18);
    column->addStretch(1);
    auto *name = new QLabel(this);
    name->setObjectName("tourName");
    name->setFont(systemFont(30, QFont::DemiBold));
    name->setStyleSheet(QStringLiteral("color: white"));
    name->setAlignment(Qt::AlignCenter);
    name->setTextFormat(Qt::PlainText);
    // Any length of name stays on one line within the window.
    name->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    name->setText(QFontMetrics(name->font()).elidedText(tourName.left(2000), Qt::ElideRight, 800));
    column->addWidget(name);
    if (m_password) {
        m_field = new QLineEdit(this);
        m_field->setEchoMode(QLineEdit::Password);
        m_field->setFixedWidth(260);
        connect(m_field, &QLineEdit::returnPressed, this, [this] { proceed(); });
        column->addWidget(m_field, 0, Qt::AlignHCenter);
    }
    CapsuleButtonLook look;
    look.background = QColor(0xc9, 0xa9, 0x61);
    look.foreground = Qt::black;
    auto *button = new CapsuleButton(look, buttonText, this);
    button->setObjectName("proceedButton");
    connect(button, &QAbstractButton::clicked, this, [this] { proceed(); });
    column->addWidget(button, 0, Qt::AlignHCenter);
    column->addStretch(1);
}

void StandInFace::addSecondaryButton(const QString &text, std::function<void()> action)
{
    CapsuleButtonLook look;
    look.background = QColor::fromRgbF(1, 1, 1, 0.15f);
    auto *button = new CapsuleButton(look, text, this);
    connect(button, &QAbstractButton::clicked, this, [action = std::move(action)] { action(); });
    auto *column = static_cast<QVBoxLayout *>(layout());
    column->insertWidget(column->count() - 1, button, 0, Qt::AlignHCenter);
}

void StandInFace::proceed()
{
    if (m_password && m_field->text() != *m_password)
        return;
    if (onProceed)
        onProceed();
}

void StandInFace::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), Qt::black);
}

#include "VisitorLanguagePicker.h"

#include "NavigationStyle.h"
#include "ThumbnailPainting.h"
#include "media/symbols/KeyboardFocus.h"
#include "media/symbols/SymbolImages.h"
#include "model/SystemFont.h"

#include <QAction>
#include <QActionGroup>
#include <QFontMetricsF>
#include <QMenu>
#include <QPainter>

#include <cmath>

namespace {

constexpr int kWidth = 60;
constexpr double kHorizontalPadding = 12;
constexpr double kVerticalPadding = 8;
constexpr double kSpacing = 4;
constexpr double kChevronPoints = 9;

QFont flagFont()
{
    return systemFont(16);
}

} // namespace

VisitorLanguagePicker::VisitorLanguagePicker(L10n &l10n, QWidget *parent)
    : QAbstractButton(parent)
    , m_l10n(&l10n)
    , m_menu(new QMenu(this))
{
    KeyboardFocus::makeReachable(*this);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    auto *group = new QActionGroup(m_menu);
    for (const L10n::Language language : L10n::allLanguages()) {
        QAction *action = m_menu->addAction(L10n::flag(language) + QStringLiteral("  ") + L10n::nativeName(language));
        action->setCheckable(true);
        group->addAction(action);
        // The group would keep a checked item unchecked on a second click.
        connect(action, &QAction::triggered, this, [this, language] { selectLanguage(language); });
        m_actions.insert(language, action);
    }
    connect(this, &QAbstractButton::clicked, this, [this] { openMenu(); });
    connect(&l10n, &L10n::currentChanged, this, [this] { refresh(); });
    refresh();
}

void VisitorLanguagePicker::selectLanguage(L10n::Language language)
{
    m_l10n->setCurrent(language);
}

QSizeF VisitorLanguagePicker::capsuleSize() const
{
    const QFontMetricsF metrics(flagFont());
    const double content = metrics.horizontalAdvance(L10n::flag(m_l10n->current())) + kSpacing
        + symbolBoxSide(kChevronPoints);
    return QSizeF(content + 2 * kHorizontalPadding, metrics.height() + 2 * kVerticalPadding);
}

QSize VisitorLanguagePicker::sizeHint() const
{
    return QSize(kWidth, int(std::ceil(capsuleSize().height())));
}

void VisitorLanguagePicker::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    if (isDown())
        painter.setOpacity(kPressedOpacity);
    const QSizeF size = capsuleSize();
    QRectF capsule(QPointF(), size);
    capsule.moveCenter(QRectF(rect()).center());
    paintRoundedFill(painter, capsule, capsule.height() / 2, withAlpha(Qt::black, 0.55));

    const QString flag = L10n::flag(m_l10n->current());
    const QFontMetricsF metrics(flagFont());
    const QRectF flagRect(capsule.left() + kHorizontalPadding, capsule.top() + kVerticalPadding,
                          metrics.horizontalAdvance(flag), metrics.height());
    painter.setFont(flagFont());
    painter.setPen(Qt::white);
    painter.drawText(flagRect, Qt::AlignCenter | Qt::TextSingleLine, flag);
    const double chevronSide = symbolBoxSide(kChevronPoints);
    drawSymbol(painter, QPointF(flagRect.right() + kSpacing + chevronSide / 2, capsule.center().y()), u"chevron.down",
               kChevronPoints, withAlpha(Qt::white, 0.6));
    if (KeyboardFocus::showsRing(*this))
        KeyboardFocus::paintRing(painter, capsule, capsule.height() / 2);
}

void VisitorLanguagePicker::openMenu()
{
    m_menu->popup(mapToGlobal(QPoint(0, height())));
}

void VisitorLanguagePicker::refresh()
{
    setAccessibleName(m_l10n->text(L10n::Key::menuLanguage));
    m_actions.value(m_l10n->current())->setChecked(true);
    updateGeometry();
    update();
}

#include "VisitorLanguagePicker.h"

#include "NavigationStyle.h"
#include "ThumbnailPainting.h"
#include "model/SystemFont.h"
#include "widgets/KeyboardFocus.h"
#include "widgets/SymbolImages.h"

#include <QAction>
#include <QActionGroup>
#include <QFontMetricsF>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

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

constexpr double kCheckPoints = 12;
constexpr int kCheckTrailingPadding = 10;

/// Menu items as the picker shows them: the current language is marked by a
/// check at the end of its row, where the style would put a radio dot (the
/// actions are exclusive) at its start. The actions stay checkable, so that
/// assistive technology still reads which one is current.
class TrailingCheckStyle final : public QProxyStyle
{
public:
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (element != CE_MenuItem || !item) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        const QStyleOptionMenuItem plain = withoutCheck(*item);
        QProxyStyle::drawControl(element, &plain, painter, widget);
        if (!item->checked)
            return;
        const bool highlighted = item->state.testFlag(State_Selected) && item->state.testFlag(State_Enabled);
        const QColor color = item->palette.color(highlighted ? QPalette::HighlightedText : QPalette::Text);
        const double side = symbolBoxSide(kCheckPoints);
        drawSymbol(*painter, QPointF(item->rect.right() + 1 - kCheckTrailingPadding - side / 2, item->rect.center().y()),
                   u"checkmark", kCheckPoints, color);
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override
    {
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (type != CT_MenuItem || !item)
            return QProxyStyle::sizeFromContents(type, option, size, widget);
        const QStyleOptionMenuItem plain = withoutCheck(*item);
        const QSize base = QProxyStyle::sizeFromContents(type, &plain, size, widget);
        // Every row keeps room for the check, so that the menu's width does
        // not follow the language.
        return base + QSize(int(std::ceil(symbolBoxSide(kCheckPoints))) + kCheckTrailingPadding, 0);
    }

private:
    static QStyleOptionMenuItem withoutCheck(const QStyleOptionMenuItem &item)
    {
        QStyleOptionMenuItem plain = item;
        plain.checkType = QStyleOptionMenuItem::NotCheckable;
        plain.checked = false;
        plain.menuHasCheckableItems = false;
        return plain;
    }
};

} // namespace

VisitorLanguagePicker::VisitorLanguagePicker(L10n &l10n, QWidget *parent)
    : QAbstractButton(parent)
    , m_l10n(&l10n)
    , m_menu(new QMenu(this))
{
    KeyboardFocus::makeReachable(*this);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // Parented to the picker, so that it outlives the menu that uses it.
    auto *menuStyle = new TrailingCheckStyle;
    menuStyle->setParent(this);
    m_menu->setStyle(menuStyle);
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

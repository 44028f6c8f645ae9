#include "LumivanePasswordGate.h"

#include "PasswordField.h"
#include "PasswordMatch.h"

#include "l10n/L10n.h"
#include "model/Palette.h"
#include "model/SystemFont.h"
#include "panels/common/CardWidgets.h"
#include "widgets/CapsuleButton.h"
#include "widgets/ScreenReaderNotice.h"
#include "widgets/SymbolGlyph.h"

#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int columnSpacing = 22;
constexpr int columnPadding = 40;
constexpr int fieldWidth = 260;
constexpr double lockPoints = 44;
const QColor errorRed(0xFF, 0x3B, 0x30);

QLabel *centredLabel(const QFont &font, const QColor &color, QWidget *parent)
{
    QLabel *label = cardLabel(font, color, parent);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

PasswordField *passwordField(QWidget *parent)
{
    auto *field = new PasswordField(parent);
    field->setFont(systemFont(13));
    field->setFixedWidth(fieldWidth);
    // Its outline stands out from the black behind it (3:1), its focus more.
    field->setStyleSheet(QStringLiteral(
        "QLineEdit { color: white; background: rgba(255, 255, 255, 20); border: 1px solid rgba(255, 255, 255, 110);"
        " border-radius: 6px; padding: 4px 7px; selection-background-color: rgba(201, 169, 97, 150); }"
        "QLineEdit:focus { border: 1px solid rgba(255, 255, 255, 210); }"));
    QPalette palette = field->palette();
    palette.setColor(QPalette::PlaceholderText, QColor(255, 255, 255, 90));
    field->setPalette(palette);
    return field;
}

} // namespace

LumivanePasswordGate::LumivanePasswordGate(QString expectedPassword, L10n &l10n, QWidget *parent,
                                           ShakeAnimation::Clock clock)
    : QWidget(parent)
    , m_expectedPassword(std::move(expectedPassword))
    , m_l10n(&l10n)
    , m_shake(std::move(clock))
{
    // Takes the window's first focus itself (never by a click), so that the
    // field is focused only when the visitor chooses it.
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    buildColumn();
    retranslate();
    connect(&l10n, &L10n::currentChanged, this, [this] {
        retranslate();
        placeColumn();
    });
    m_frameTimer.setInterval(16);
    connect(&m_frameTimer, &QTimer::timeout, this, &LumivanePasswordGate::advanceAnimation);
}

void LumivanePasswordGate::buildColumn()
{
    m_column = new QWidget(this);
    m_column->setObjectName(QStringLiteral("gateColumn"));
    auto *layout = new QVBoxLayout(m_column);
    layout->setSpacing(columnSpacing);
    layout->setContentsMargins(columnPadding, columnPadding, columnPadding, columnPadding);

    m_title = centredLabel(systemFont(20, QFont::Bold), Qt::white, m_column);
    m_subtitle = centredLabel(systemFont(13), QColor(255, 255, 255, 153), m_column);
    m_subtitle->setWordWrap(true);
    m_field = passwordField(m_column);
    m_error = centredLabel(systemFont(12, QFont::DemiBold), errorRed, m_column);
    m_error->setObjectName(QStringLiteral("gateError"));
    m_error->hide();
    m_notice = new ScreenReaderNotice(this);
    m_unlock = new CapsuleButton(capsuleLook(Capsule::unlock), QString(), m_column);
    m_unlock->setEnabled(false);
    m_unlock->setCursor(Qt::PointingHandCursor);

    layout->addWidget(new SymbolGlyph(QStringLiteral("lock.fill"), lockPoints, paletteGold(), m_column), 0,
                      Qt::AlignHCenter);
    layout->addWidget(m_title, 0, Qt::AlignHCenter);
    layout->addWidget(m_subtitle);
    layout->addWidget(m_field, 0, Qt::AlignHCenter);
    layout->addWidget(m_error, 0, Qt::AlignHCenter);
    layout->addWidget(m_unlock, 0, Qt::AlignHCenter);

    connect(m_field, &QLineEdit::returnPressed, this, &LumivanePasswordGate::submitPassword);
    connect(m_field, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_unlock->setEnabled(!text.isEmpty()); });
    connect(m_unlock, &QAbstractButton::clicked, this, &LumivanePasswordGate::submitPassword);
}

void LumivanePasswordGate::retranslate()
{
    m_title->setText(m_l10n->text(L10n::Key::pwGateTitle));
    m_subtitle->setText(m_l10n->text(L10n::Key::pwGateSubtitle));
    m_field->setPlaceholderText(m_l10n->text(L10n::Key::password));
    m_field->setAccessibleName(m_field->placeholderText());
    m_error->setText(m_l10n->text(L10n::Key::pwGateIncorrect));
    m_unlock->setText(m_l10n->text(L10n::Key::pwGateUnlock));
    m_unlock->updateGeometry();
}

void LumivanePasswordGate::submitPassword()
{
    if (!passwordMatches(m_field->password(), m_expectedPassword)) {
        rejectPassword();
        return;
    }
    if (onUnlock)
        onUnlock();
}

void LumivanePasswordGate::rejectPassword()
{
    ++m_errorShake;
    m_shake.animateTo(m_errorShake);
    if (m_error->isHidden()) {
        // The line comes in with the shake's own transition.
        m_errorFade = new QGraphicsOpacityEffect(m_error);
        m_errorFade->setOpacity(0);
        m_error->setGraphicsEffect(m_errorFade);
        m_error->show();
    }
    placeColumn();
    m_frameTimer.start();
    // Said as well as shown, on every failed attempt.
    m_notice->say(m_error->text());
}

void LumivanePasswordGate::advanceAnimation()
{
    if (m_errorFade) {
        m_errorFade->setOpacity(m_shake.progress());
        if (!m_shake.isRunning()) {
            m_error->setGraphicsEffect(nullptr); // deletes the effect
            m_errorFade = nullptr;
        }
    }
    if (!m_shake.isRunning())
        m_frameTimer.stop();
    placeColumn();
}

int LumivanePasswordGate::naturalColumnWidth() const
{
    const int subtitle = m_subtitle->fontMetrics().horizontalAdvance(m_subtitle->text());
    const int widest = std::max({subtitle, m_title->sizeHint().width(), m_error->sizeHint().width(),
                                 m_unlock->sizeHint().width(), fieldWidth});
    return widest + 2 * columnPadding + 1;
}

// The column keeps its natural width while the window allows it; the
// subtitle wraps, centred, when it does not.
void LumivanePasswordGate::placeColumn()
{
    const int width = std::min(naturalColumnWidth(), this->width());
    const int height = m_column->layout()->totalHeightForWidth(width);
    const int x = (this->width() - width) / 2 + int(std::lround(m_shake.offset()));
    m_column->setGeometry(x, (this->height() - height) / 2, width, height);
}

void LumivanePasswordGate::resizeEvent(QResizeEvent *)
{
    placeColumn();
}

void LumivanePasswordGate::paintEvent(QPaintEvent *event)
{
    QPainter(this).fillRect(event->rect(), Qt::black);
}

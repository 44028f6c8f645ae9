#include "StartScreen.h"

#include "StartScreenSymbols.h"

#include "model/Palette.h"
#include "model/SystemFont.h"
#include "widgets/KeyboardFocus.h"

#include <QAbstractButton>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace {

const QColor kPurple = QColor::fromRgbF(0.686f, 0.322f, 0.871f);
const QColor kPink = QColor::fromRgbF(1.0f, 0.176f, 0.333f);
const QColor kErrorRed = QColor::fromRgbF(1.0f, 0.231f, 0.188f, 0.9f);

QLabel *makeLabel(const QString &text, const QFont &font, const QColor &color, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setFont(font);
    label->setAlignment(Qt::AlignCenter);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

/// The cube symbol above the title, filled with the purple-to-pink gradient.
class CubeSymbol final : public QWidget
{
public:
    explicit CubeSymbol(QWidget *parent) : QWidget(parent) { setFixedSize(92, 92); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QLinearGradient gradient(rect().topLeft(), rect().bottomRight());
        gradient.setColorAt(0, kPurple);
        gradient.setColorAt(1, kPink);
        StartScreenSymbols::paintCube(painter, QRectF(rect()), QBrush(gradient));
    }
};

/// A capsule filled with the purple-to-pink gradient, holding the folder
/// symbol and the button text in white.
class OpenTourButton final : public QAbstractButton
{
public:
    explicit OpenTourButton(const QString &text, QWidget *parent) : QAbstractButton(parent)
    {
        setText(text);
        setFont(systemFont(15, QFont::DemiBold));
        setCursor(Qt::PointingHandCursor);
        KeyboardFocus::makeReachable(*this);
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }

    QSize sizeHint() const override
    {
        const QFontMetrics metrics(font());
        const int symbol = metrics.height();
        return {28 + symbol + 10 + metrics.horizontalAdvance(text()) + 28, 14 + metrics.height() + 14};
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setOpacity(isDown() ? 0.75 : 1.0);

        const QRectF capsule = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
        QLinearGradient gradient(capsule.topLeft(), capsule.topRight());
        gradient.setColorAt(0, underMouse() ? kPurple.lighter(112) : kPurple);
        gradient.setColorAt(1, underMouse() ? kPink.lighter(112) : kPink);
        QPainterPath path;
        path.addRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);
        painter.fillPath(path, gradient);
        if (KeyboardFocus::showsRing(*this))
            KeyboardFocus::paintRing(painter, capsule, capsule.height() / 2);

        const QFontMetrics metrics(font());
        const int symbol = metrics.height();
        const int contentWidth = symbol + 10 + metrics.horizontalAdvance(text());
        const double left = (width() - contentWidth) / 2.0;
        StartScreenSymbols::paintFolder(painter, QRectF(left, (height() - symbol) / 2.0, symbol, symbol), Qt::white);
        painter.setPen(Qt::white);
        painter.setFont(font());
        painter.drawText(QRectF(left + symbol + 10, 0, metrics.horizontalAdvance(text()) + 1, height()),
                         Qt::AlignVCenter | Qt::AlignLeft, text());
    }

    void enterEvent(QEnterEvent *event) override
    {
        update();
        QAbstractButton::enterEvent(event);
    }
    void leaveEvent(QEvent *event) override
    {
        update();
        QAbstractButton::leaveEvent(event);
    }
};

} // namespace

StartScreen::StartScreen(QWidget *parent)
    : QWidget(parent)
{
    setObjectName("startScreen");
    auto *column = new QVBoxLayout(this);
    column->setSpacing(28);
    column->addStretch(1);

    column->addWidget(new CubeSymbol(this), 0, Qt::AlignHCenter);

    auto *titles = new QVBoxLayout;
    titles->setSpacing(8);
    titles->addWidget(makeLabel("Lumivane Viewer", systemFont(34, QFont::DemiBold), Qt::white, this));
    titles->addWidget(
        makeLabel(QString::fromUtf8("Ouvrez une visite virtuelle .lumivane reçue"), systemFont(15), withAlpha(Qt::white, 0.7), this));
    column->addLayout(titles);

    m_openButton = new OpenTourButton(QString::fromUtf8("Ouvrir une visite\u2026"), this);
    m_openButton->setObjectName("openTourButton");
    connect(m_openButton, &QAbstractButton::clicked, this, [this] {
        if (onOpenFile)
            onOpenFile();
    });
    column->addWidget(m_openButton, 0, Qt::AlignHCenter);

    // The hint has 10 more above it than the column's spacing.
    auto *hintRow = new QVBoxLayout;
    hintRow->setContentsMargins(0, 10, 0, 0);
    auto *hint = makeLabel(QString::fromUtf8("Ou glissez-déposez un fichier .lumivane ici"), systemFont(12),
                           withAlpha(Qt::white, 0.4), this);
    hint->setObjectName("dropHint");
    hintRow->addWidget(hint);
    column->addLayout(hintRow);

    // The next item of the column, with 8 more above it; while hidden it
    // takes no room and no spacing.
    m_errorLabel = makeLabel(QString(), systemFont(12), kErrorRed, this);
    m_errorLabel->setObjectName("loadErrorLabel");
    m_errorLabel->setWordWrap(true);
    m_errorLabel->setTextFormat(Qt::PlainText);
    m_errorLabel->setContentsMargins(40, 8, 40, 0);
    m_errorLabel->hide();
    column->addWidget(m_errorLabel);

    column->addStretch(1);
}

void StartScreen::setLoadError(const std::optional<QString> &message)
{
    m_errorLabel->setText(message.value_or(QString()));
    m_errorLabel->setVisible(message.has_value());
}

void StartScreen::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, QColor::fromRgbF(0.1f, 0.06f, 0.2f));
    gradient.setColorAt(1, QColor::fromRgbF(0.05f, 0.03f, 0.1f));
    painter.fillRect(rect(), gradient);
}

#include "VisitorFeedbackSheet.h"

#include "l10n/L10n.h"
#include "model/ExternalLinks.h"
#include "model/Palette.h"
#include "model/SystemFont.h"
#include "panels/common/CardThanksView.h"
#include "panels/common/CardWidgets.h"
#include "widgets/CapsuleButton.h"
#include "widgets/SymbolButton.h"

#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPropertyAnimation>
#include <QVBoxLayout>
#include <QVariantAnimation>

namespace {

constexpr double kChosenScale = 1.08;
constexpr double kRatingSide = 64;
constexpr double kRatingSymbolPoints = 26;

constexpr int kCardWidth = 460;

ModalFrameLook feedbackCardLook()
{
    return ModalFrameLook{QColor(0, 0, 0, 191), paletteCardBackground.resolved(), 14,
                          DropShadow{QColor(0, 0, 0, 77), 30, QPointF(0, 12)}};
}

QFont serifItalic(double points)
{
    QFont font = systemFont(points, QFont::Normal, FontDesign::serif, true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, -0.3);
    return font;
}

// The outline takes the tertiary ink: the palette's line colour hardly
// stands out from the card (3:1 is wanted) in either appearance.
QString commentFieldStyle()
{
    return QStringLiteral("QPlainTextEdit { background: %1; color: %2; border: 1px solid %3; border-radius: 8px;"
                          " padding: 8px; }")
        .arg(paletteInputBackground.resolved().name(), paletteTextPrimary.resolved().name(),
             paletteTextTertiary.resolved().name());
}

// On the dark card the rating colours themselves stand out too little
// (3:1 is wanted): the symbol of a choice not taken takes a lighter tone.
QColor unchosenSymbolColor(const QColor &color)
{
    return currentAppearance() == Appearance::dark ? color.lighter(140) : color;
}

// On the white card the gold of the send button stands out too little
// (3:1 is wanted): a darker gold outlines it there.
std::optional<CapsuleOutline> sendButtonOutline(double opacity)
{
    if (currentAppearance() == Appearance::dark)
        return std::nullopt;
    return CapsuleOutline{withAlpha(paletteGold().darker(160), opacity)};
}

bool isSendShortcut(const QKeyEvent &event)
{
    return (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)
        && event.modifiers().testFlag(Qt::ControlModifier);
}

} // namespace

VisitorFeedbackSheet::VisitorFeedbackSheet(QString projectName, QString recipientEmail, L10n &l10n,
                                           std::function<bool(const QUrl &)> openExternal, QWidget *parent)
    : ModalFrame(feedbackCardLook(), DialogFocus::exclusive, parent)
    , m_projectName(std::move(projectName))
    , m_recipientEmail(std::move(recipientEmail))
    , m_l10n(&l10n)
    , m_openExternal(std::move(openExternal))
{
    setFocusPolicy(Qt::StrongFocus);
    m_ratingView = buildRatingView();
    panel()->setFixedWidth(kCardWidth);
    panelColumn()->addWidget(m_ratingView);
    m_thanks = addThanksView(*panelColumn(),
                             CardThanksLook{QMargins(20, 40, 20, 40), QStringLiteral("checkmark.seal.fill"), 44,
                                            paletteGreen(), serifItalic(20), paletteTextPrimary.resolved(),
                                            paletteBodyFont(), paletteTextSecondary.resolved(), 30, paletteGold()},
                             [this] { requestClose(); });
    connect(m_l10n, &L10n::currentChanged, this, [this] { retranslate(); });
    retranslate();
    refreshSendButton();
}

QWidget *VisitorFeedbackSheet::buildRatingView()
{
    auto *view = new QWidget(panel());
    auto *column = new QVBoxLayout(view);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(22);
    column->addWidget(buildHeader(view));
    column->addWidget(buildRatingRow(view), 0, Qt::AlignHCenter);
    m_commentSection = buildCommentSection(view);
    m_commentSection->hide();
    column->addWidget(m_commentSection);
    column->addWidget(buildFooter(view));
    return view;
}

QWidget *VisitorFeedbackSheet::buildHeader(QWidget *parent)
{
    auto *header = new QWidget(parent);
    auto *column = new QVBoxLayout(header);
    column->setContentsMargins(0, 28, 0, 0);
    column->setSpacing(6);
    m_title = cardLabel(serifItalic(24), paletteTextPrimary.resolved(), header);
    m_question = cardLabel(paletteBodyFont(), paletteTextSecondary.resolved(), header);
    for (QLabel *label : {m_title, m_question}) {
        label->setAlignment(Qt::AlignHCenter);
        label->setWordWrap(true);
        column->addWidget(label);
    }
    return header;
}

QWidget *VisitorFeedbackSheet::buildRatingRow(QWidget *parent)
{
    auto *row = new QWidget(parent);
    auto *buttons = new QHBoxLayout(row);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(24);
    m_choices = {RatingChoice{Rating::positive, QStringLiteral("hand.thumbsup.fill"), paletteGreen()},
                 RatingChoice{Rating::negative, QStringLiteral("hand.thumbsdown.fill"), paletteRed()}};
    const int frame = int(std::ceil(kRatingSide * kChosenScale));
    for (qsizetype i = 0; i < m_choices.size(); ++i) {
        RatingChoice &choice = m_choices[i];
        choice.button = new SymbolButton(SymbolButtonLook{}, row);
        // The chosen one reads as checked. Not a radio group: both stay Tab
        // stops, and setRating() keeps a click on the chosen one checked.
        choice.button->setCheckable(true);
        choice.button->setFixedSize(frame, frame);
        choice.button->setCursor(Qt::PointingHandCursor);
        applyChoiceLook(choice, 1.0);
        // A spring of response 0.3 s and damping 0.7: a short overshoot.
        choice.scale = new QVariantAnimation(choice.button);
        choice.scale->setDuration(300);
        choice.scale->setEasingCurve(QEasingCurve(QEasingCurve::OutBack));
        connect(choice.scale, &QVariantAnimation::valueChanged, choice.button,
                [this, i](const QVariant &value) { applyChoiceLook(m_choices[i], value.toDouble()); });
        const Rating rating = choice.rating;
        connect(choice.button, &QAbstractButton::clicked, this, [this, rating] { setRating(rating); });
        buttons->addWidget(choice.button);
    }
    return row;
}

void VisitorFeedbackSheet::applyChoiceLook(const RatingChoice &choice, double scale)
{
    const bool chosen = m_rating == choice.rating;
    SymbolButtonLook look;
    look.side = kRatingSide * scale;
    look.symbol = choice.symbol;
    look.symbolPoints = kRatingSymbolPoints * scale;
    look.symbolColor = chosen ? QColor(Qt::white) : unchosenSymbolColor(choice.color);
    look.discColor = chosen ? choice.color : withAlpha(choice.color, 0.12);
    choice.button->setLook(look);
}

QWidget *VisitorFeedbackSheet::buildCommentSection(QWidget *parent)
{
    auto *section = new QWidget(parent);
    auto *column = new QVBoxLayout(section);
    column->setContentsMargins(24, 0, 24, 0);
    column->setSpacing(6);
    m_commentCaption = cardLabel(paletteCaptionFont(), paletteTextSecondary.resolved(), section);
    column->addWidget(m_commentCaption);
    m_comment = new QPlainTextEdit(section);
    m_comment->setFont(paletteBodyFont());
    m_comment->setFixedHeight(90);
    m_comment->setStyleSheet(commentFieldStyle());
    m_comment->setTabChangesFocus(true);
    QPalette palette = m_comment->palette();
    palette.setColor(QPalette::PlaceholderText, paletteTextTertiary.resolved());
    m_comment->setPalette(palette);
    m_comment->installEventFilter(this);
    column->addWidget(m_comment);
    m_error = cardLabel(paletteCaptionFont(), paletteRed(), section);
    m_error->setWordWrap(true);
    m_error->hide();
    column->addWidget(m_error);
    return section;
}

QWidget *VisitorFeedbackSheet::buildFooter(QWidget *parent)
{
    auto *footer = new QWidget(parent);
    auto *row = new QHBoxLayout(footer);
    row->setContentsMargins(24, 0, 24, 20);
    row->setSpacing(10);
    m_later = plainTextButton(systemFont(13), paletteTextTertiary.resolved(), footer);
    connect(m_later, &QAbstractButton::clicked, this, [this] { later(); });
    row->addWidget(m_later);
    row->addStretch();
    m_send = new CapsuleButton(capsuleLook(Capsule::feedbackSend), QString(), footer);
    m_send->setCursor(Qt::PointingHandCursor);
    connect(m_send, &QAbstractButton::clicked, this, [this] { sendFeedbackMail(); });
    row->addWidget(m_send);
    return footer;
}

bool VisitorFeedbackSheet::later()
{
    if (m_sent)
        return false;
    requestClose();
    return true;
}

void VisitorFeedbackSheet::setRating(Rating rating)
{
    for (RatingChoice &choice : m_choices)
        choice.button->setChecked(choice.rating == rating);
    if (m_rating == rating)
        return;
    const bool first = !m_rating;
    m_rating = rating;
    for (RatingChoice &choice : m_choices) {
        const double target = choice.rating == rating ? kChosenScale : 1.0;
        choice.scale->stop();
        choice.scale->setStartValue(choice.button->look().side / kRatingSide);
        choice.scale->setEndValue(target);
        choice.scale->start();
    }
    if (first)
        revealCommentSection();
    refreshSendButton();
}

// The section slides open from the top while it fades in, and the card
// grows with it.
void VisitorFeedbackSheet::revealCommentSection()
{
    const int height = m_commentSection->sizeHint().height();
    m_commentSection->setMaximumHeight(0);
    m_commentSection->show();
    auto *fade = new QGraphicsOpacityEffect(m_commentSection);
    m_commentSection->setGraphicsEffect(fade);
    auto *reveal = new QVariantAnimation(m_commentSection);
    reveal->setStartValue(0.0);
    reveal->setEndValue(1.0);
    reveal->setDuration(250);
    reveal->setEasingCurve(QEasingCurve::OutQuad);
    connect(reveal, &QVariantAnimation::valueChanged, m_commentSection, [this, fade, height](const QVariant &value) {
        fade->setOpacity(value.toDouble());
        m_commentSection->setMaximumHeight(int(std::round(height * value.toDouble())));
    });
    connect(reveal, &QVariantAnimation::finished, m_commentSection, [this] {
        m_commentSection->setMaximumHeight(QWIDGETSIZE_MAX);
        m_commentSection->setGraphicsEffect(nullptr);
    });
    reveal->start(QAbstractAnimation::DeleteWhenStopped);
}

QString VisitorFeedbackSheet::comment() const
{
    return m_comment->toPlainText();
}

void VisitorFeedbackSheet::sendFeedbackMail()
{
    if (!m_rating || m_sent)
        return;
    const std::optional<QUrl> url = mailDraftUrl(m_recipientEmail, feedbackMailSubject(m_projectName, *m_l10n),
                                                 feedbackMailBody(*m_rating, comment(), *m_l10n));
    if (!url) {
        // Thanks would claim a draft waits in the mail application.
        m_error->show();
        return;
    }
    // Whether a mail application opened is not known in general; the
    // thanks view reminds the visitor to send the draft.
    if (m_openExternal)
        m_openExternal(*url);
    showThanks();
}

void VisitorFeedbackSheet::showThanks()
{
    m_sent = true;
    const bool focusInRating = m_ratingView->isAncestorOf(QApplication::focusWidget());
    m_thanks->show();
    m_ratingView->hide();
    if (focusInRating)
        m_thanks->focusClose();
}

void VisitorFeedbackSheet::refreshSendButton()
{
    m_send->setEnabled(m_rating.has_value());
    CapsuleLook look = m_send->look();
    const double opacity = m_rating ? 1.0 : 0.35;
    look.background = withAlpha(paletteGold(), opacity);
    look.outline = sendButtonOutline(opacity);
    m_send->setLook(look);
}

void VisitorFeedbackSheet::keyPressEvent(QKeyEvent *event)
{
    if (isSendShortcut(*event)) {
        sendFeedbackMail();
        return;
    }
    ModalFrame::keyPressEvent(event);
}

// The comment editor would take Ctrl+Return as a line break.
bool VisitorFeedbackSheet::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_comment && event->type() == QEvent::KeyPress && isSendShortcut(*static_cast<QKeyEvent *>(event))) {
        sendFeedbackMail();
        return true;
    }
    return ModalFrame::eventFilter(watched, event);
}

void VisitorFeedbackSheet::showEvent(QShowEvent *event)
{
    ModalFrame::showEvent(event);
    setFocus(Qt::OtherFocusReason);
}

void VisitorFeedbackSheet::retranslate()
{
    m_title->setText(m_l10n->text(L10n::Key::feedbackTitle));
    setAccessibleName(m_title->text());
    m_question->setText(m_l10n->text(L10n::Key::feedbackQuestion));
    m_choices[0].button->setAccessibleName(m_l10n->text(L10n::Key::feedbackRatingPositive));
    m_choices[1].button->setAccessibleName(m_l10n->text(L10n::Key::feedbackRatingNegative));
    m_commentCaption->setText(m_l10n->text(L10n::Key::feedbackAddWord));
    m_comment->setPlaceholderText(m_l10n->text(L10n::Key::feedbackPlaceholder));
    m_comment->setAccessibleName(m_commentCaption->text());
    m_error->setText(m_l10n->localizedFormat(L10n::Key::contactErrorPrefix,
                                            m_l10n->text(L10n::Key::contactErrorMailAddress)));
    m_later->setText(m_l10n->text(L10n::Key::later));
    m_send->setText(m_l10n->text(L10n::Key::send));
    m_thanks->setTexts(m_l10n->text(L10n::Key::feedbackThanks), m_l10n->text(L10n::Key::feedbackMailPrepared),
                       m_l10n->text(L10n::Key::close));
}

#include "ContactFormFields.h"

#include "ContactSendButton.h"

#include "l10n/L10n.h"
#include "model/DisplayText.h"
#include "model/Palette.h"
#include "model/SystemFont.h"
#include "panels/common/CardWidgets.h"
#include "widgets/WrappingText.h"

#include <QCheckBox>
#include <QFontMetricsF>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// The dark card's inputs: rounded single-line fields and a message box of
// one fill, lighter custom text areas and check boxes, each outlined light
// enough to stand out from the card (3:1) whatever the desktop's palette,
// which would otherwise draw a check box's box.
const char *const kFieldStyle = R"(
QLineEdit {
    background: #2b2b2b; color: white; border: 1px solid rgba(255, 255, 255, 0.4);
    border-radius: 5px; padding: 3px 6px; selection-background-color: rgba(201, 169, 97, 0.6);
}
QLineEdit:focus { border: 1px solid rgba(255, 255, 255, 0.85); }
QPlainTextEdit { color: white; selection-background-color: rgba(201, 169, 97, 0.6); }
QPlainTextEdit#contactMessage {
    background: #2b2b2b; border: 1px solid rgba(255, 255, 255, 0.4); border-radius: 6px; padding: 6px;
}
QPlainTextEdit#contactCustomArea {
    background: rgba(255, 255, 255, 0.08); border: 1px solid rgba(255, 255, 255, 0.4); border-radius: 5px;
    padding: 6px;
}
QCheckBox { color: rgba(255, 255, 255, 0.85); spacing: 6px; }
QCheckBox::indicator {
    width: 14px; height: 14px; background: #2b2b2b; border: 1px solid rgba(255, 255, 255, 0.4); border-radius: 3px;
}
QCheckBox::indicator:checked { background: #C9A961; border: 1px solid #C9A961; image: url(:/symbols/checkmark.svg); }
QCheckBox::indicator:focus, QCheckBox::indicator:checked:focus { border: 1px solid rgba(255, 255, 255, 0.85); }
)";

QFont captionFont()
{
    return systemFont(11, QFont::DemiBold);
}

QColor captionColor()
{
    return withAlpha(Qt::white, 0.6);
}

QLabel *captionLabel(QWidget *parent)
{
    return cardLabel(captionFont(), captionColor(), parent);
}

// An author's label of any length wraps within the card, inside a word
// longer than a line too; one shorter than a line keeps the star beside it.
// Its line is as wide as its ink where the last glyph reaches past its
// advance, as a line break sees it.
WrappingText *customCaption(const QString &label, QWidget *parent)
{
    const QString shown = displayText(label, DisplayLength::title);
    const QFontMetricsF metrics(captionFont());
    const int oneLineWidth =
        int(std::ceil(std::max(metrics.horizontalAdvance(shown), metrics.boundingRect(shown).right())));
    auto *caption = new WrappingText(captionFont(), captionColor(), DisplayLength::title, oneLineWidth, parent);
    caption->setText(shown);
    return caption;
}

QVBoxLayout *captionedRow(QLayout *into)
{
    auto *row = new QVBoxLayout;
    row->setSpacing(4);
    into->addItem(row);
    return row;
}

} // namespace

ContactFormFields::ContactFormFields(QList<FormField> fields, L10n &l10n, QWidget *parent)
    : QWidget(parent)
    , m_l10n(&l10n)
{
    setStyleSheet(QString::fromLatin1(kFieldStyle));
    QPalette palette = this->palette();
    palette.setColor(QPalette::PlaceholderText, withAlpha(Qt::white, 0.35));
    setPalette(palette);

    auto *stack = new QVBoxLayout(this);
    stack->setContentsMargins(20, 20, 20, 20);
    stack->setSpacing(14);
    m_name = addLabeledLine(m_nameCaption, &ContactFormAnswers::name);
    m_email = addLabeledLine(m_emailCaption, &ContactFormAnswers::email);
    m_phone = addLabeledLine(m_phoneCaption, &ContactFormAnswers::phone);
    addMessageRow();
    for (const FormField &field : fields)
        addCustomRow(field);

    m_error = cardLabel(systemFont(11), QColor(Qt::red), this);
    m_error->setWordWrap(true);
    m_error->hide();
    stack->addWidget(m_error);

    m_send = new ContactSendButton(this);
    connect(m_send, &QAbstractButton::clicked, this, [this] {
        if (onSend)
            onSend();
    });
    stack->addWidget(m_send);
    retranslate();
}

QLineEdit *ContactFormFields::addLabeledLine(QLabel *&caption, QString ContactFormAnswers::*answer)
{
    QVBoxLayout *row = captionedRow(layout());
    caption = captionLabel(this);
    auto *line = new QLineEdit(this);
    line->setFont(systemFont(13));
    row->addWidget(caption);
    row->addWidget(line);
    m_captioned.append({caption, line});
    connect(line, &QLineEdit::textChanged, this, [this, answer](const QString &text) {
        m_answers.*answer = text;
        edited();
    });
    return line;
}

void ContactFormFields::addMessageRow()
{
    QVBoxLayout *row = captionedRow(layout());
    m_messageCaption = captionLabel(this);
    auto *editor = new QPlainTextEdit(this);
    editor->setObjectName(QStringLiteral("contactMessage"));
    // Tab leaves the message, as in every other field, instead of typing a tab.
    editor->setTabChangesFocus(true);
    editor->setFont(systemFont(12));
    editor->setFixedHeight(90);
    row->addWidget(m_messageCaption);
    row->addWidget(editor);
    m_captioned.append({m_messageCaption, editor});
    connect(editor, &QPlainTextEdit::textChanged, this, [this, editor] {
        m_answers.message = editor->toPlainText();
        edited();
    });
}

void ContactFormFields::addCustomRow(const FormField &field)
{
    QVBoxLayout *row = captionedRow(layout());
    auto *captionRow = new QHBoxLayout;
    captionRow->setSpacing(4);
    captionRow->addWidget(customCaption(field.label, this));
    if (field.required) {
        QLabel *star = cardLabel(systemFont(11, QFont::Bold), QColor(255, 0, 0, 204), this);
        star->setText(QStringLiteral("*"));
        captionRow->addWidget(star);
    }
    captionRow->addStretch();
    row->addLayout(captionRow);
    QWidget *input = customInput(field);
    CustomRow custom{field, qobject_cast<QCheckBox *>(input)};
    input->setAccessibleName(displayLine(field.label));
    row->addWidget(input);
    m_customRows.append(custom);
}

// Only checkbox and text area differ; every other type is one line of
// free text, with neither format check nor number parsing.
QWidget *ContactFormFields::customInput(const FormField &field)
{
    const QUuid id = field.id;
    if (field.type == FormFieldType::checkbox) {
        auto *box = new QCheckBox(this);
        box->setFont(systemFont(12));
        // Its text is the author's: a long one is cut at the card's edge
        // rather than widening the form.
        box->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        connect(box, &QCheckBox::toggled, this, [this, id](bool on) {
            storeCustomValue(id, on ? QStringLiteral("true") : QStringLiteral("false"));
        });
        return box;
    }
    if (field.type == FormFieldType::textarea) {
        auto *area = new QPlainTextEdit(this);
        area->setObjectName(QStringLiteral("contactCustomArea"));
        area->setTabChangesFocus(true);
        area->setFont(systemFont(13));
        area->setMinimumHeight(60);
        area->setMaximumHeight(100);
        connect(area, &QPlainTextEdit::textChanged, this, [this, id, area] { storeCustomValue(id, area->toPlainText()); });
        return area;
    }
    auto *line = new QLineEdit(this);
    line->setFont(systemFont(13));
    line->setPlaceholderText(displayLine(field.placeholder.value_or(field.label)));
    connect(line, &QLineEdit::textChanged, this, [this, id](const QString &text) { storeCustomValue(id, text); });
    return line;
}

void ContactFormFields::storeCustomValue(const QUuid &id, const QString &value)
{
    m_answers.customValues.insert(id, value);
    edited();
}

void ContactFormFields::edited()
{
    if (onEdited)
        onEdited();
}

void ContactFormFields::showSendState(bool isSubmitting, bool canSend)
{
    m_isSubmitting = isSubmitting;
    m_send->setBusy(isSubmitting);
    m_send->setEnabled(canSend);
    m_send->setText(m_l10n->text(isSubmitting ? L10n::Key::loading : L10n::Key::contactSend));
}

void ContactFormFields::showError(const std::optional<QString> &text)
{
    m_error->setText(text.value_or(QString()));
    m_error->setVisible(text.has_value());
}

void ContactFormFields::retranslate()
{
    m_nameCaption->setText(m_l10n->text(L10n::Key::contactFieldName));
    m_emailCaption->setText(m_l10n->text(L10n::Key::contactFieldEmail));
    m_phoneCaption->setText(m_l10n->text(L10n::Key::contactFieldPhone));
    m_messageCaption->setText(m_l10n->text(L10n::Key::contactFieldMessage));
    m_name->setPlaceholderText(m_l10n->text(L10n::Key::contactPlaceholderName));
    m_email->setPlaceholderText(m_l10n->text(L10n::Key::contactPlaceholderEmail));
    m_phone->setPlaceholderText(m_l10n->text(L10n::Key::contactPlaceholderPhone));
    for (const CustomRow &row : m_customRows) {
        if (row.checkbox)
            row.checkbox->setText(row.field.placeholder ? displayLine(*row.field.placeholder) : m_l10n->text(L10n::Key::yes));
    }
    m_send->setText(m_l10n->text(m_isSubmitting ? L10n::Key::loading : L10n::Key::contactSend));
    for (const auto &[caption, input] : m_captioned)
        input->setAccessibleName(caption->text());
}

#include "PasswordField.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

#include <memory>

namespace {

std::u32string codePoints(const QString &text)
{
    const QList<uint> ucs4 = text.toUcs4();
    return std::u32string(ucs4.cbegin(), ucs4.cend());
}

QString masks(std::size_t count)
{
    return QString(qsizetype(count), QChar(PasswordField::mask));
}

// What the line edit takes from a key as typing: text starting with a
// printable, private-use or formatting character, also outside the basic
// plane.
bool startsTyping(const std::u32string &text)
{
    if (text.empty())
        return false;
    const QChar::Category category = QChar::category(text.front());
    return QChar::isPrint(text.front()) || category == QChar::Other_PrivateUse || category == QChar::Other_Format;
}

} // namespace

PasswordField::PasswordField(QWidget *parent)
    : QLineEdit(parent)
{
    setEchoMode(QLineEdit::Password);
}

QString PasswordField::password() const
{
    return QString::fromUcs4(m_entry.data(), qsizetype(m_entry.size()));
}

void PasswordField::setPassword(const QString &password)
{
    m_entry = codePoints(password);
    setText(masks(m_entry.size()));
}

PasswordField::EditStart PasswordField::editStart() const
{
    const int length = int(text().size());
    const int cursor = cursorPosition();
    if (!hasSelectedText())
        return {length, cursor, cursor, cursor};
    return {length, cursor, selectionStart(), selectionStart() + selectionLength()};
}

void PasswordField::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Paste)) {
        pasteFrom(false);
        event->accept();
        return;
    }
    const EditStart start = editStart();
    const std::u32string entered = codePoints(event->text());
    if (!startsTyping(entered)) {
        QLineEdit::keyPressEvent(event);
        followEdit(start, {});
        return;
    }
    QKeyEvent masked(event->type(), event->key(), event->modifiers(), event->nativeScanCode(),
                     event->nativeVirtualKey(), event->nativeModifiers(), masks(entered.size()),
                     event->isAutoRepeat(), event->count());
    QLineEdit::keyPressEvent(&masked);
    event->setAccepted(masked.isAccepted());
    followEdit(start, entered);
}

void PasswordField::inputMethodEvent(QInputMethodEvent *event)
{
    const EditStart start = editStart();
    const std::u32string committed = codePoints(event->commitString());
    // The line edit shows a masked field's composition as masks itself.
    QInputMethodEvent masked(event->preeditString(), event->attributes());
    masked.setCommitString(masks(committed.size()), event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(&masked);
    event->setAccepted(masked.isAccepted());
    followEdit(start, committed);
}

void PasswordField::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::MiddleButton && !isReadOnly() && QGuiApplication::clipboard()->supportsSelection()) {
        pasteFrom(true);
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void PasswordField::contextMenuEvent(QContextMenuEvent *event)
{
    const std::unique_ptr<QMenu> menu(createStandardContextMenu());
    bool pasted = false;
    for (QAction *action : menu->actions()) {
        if (action->objectName() != QLatin1String("edit-paste"))
            continue;
        disconnect(action, nullptr, this, nullptr);
        // Runs inside exec() below, while `pasted` lives.
        connect(action, &QAction::triggered, this, [this, &pasted] {
            pasted = true;
            pasteFrom(false);
        });
    }
    const EditStart start = editStart();
    menu->exec(event->globalPos());
    if (!pasted)
        followEdit(start, {});
}

void PasswordField::dropEvent(QDropEvent *event)
{
    if (isReadOnly() || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    deselect();
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    insertEntry(event->mimeData()->text());
    event->acceptProposedAction();
}

void PasswordField::pasteFrom(bool selection)
{
    if (isReadOnly())
        return;
    // As the line edit does: the middle button's paste replaces no selection.
    if (selection)
        deselect();
    insertEntry(QGuiApplication::clipboard()->text(selection ? QClipboard::Selection : QClipboard::Clipboard));
}

void PasswordField::insertEntry(const QString &text)
{
    const EditStart start = editStart();
    const std::u32string entered = codePoints(text);
    insert(masks(entered.size()));
    followEdit(start, entered);
}

void PasswordField::followEdit(const EditStart &start, const std::u32string &inserted)
{
    const int length = int(text().size());
    const int cursor = cursorPosition();
    const bool inStep = int(m_entry.size()) == start.length;
    const int replaced = start.selectionEnd - start.selectionStart;
    const int added = int(inserted.size());
    if (inStep && added > 0 && length == start.length - replaced + added && cursor == start.selectionStart + added) {
        m_entry.replace(std::size_t(start.selectionStart), std::size_t(replaced), inserted);
        return;
    }
    if (inStep && length == start.length)
        return;
    // Every removal of the line edit leaves the cursor where the removed
    // characters began: a backspace, a deleted word or selection, an undo.
    const int removed = start.length - length;
    if (inStep && removed > 0 && cursor + removed <= start.length) {
        m_entry.erase(std::size_t(cursor), std::size_t(removed));
        return;
    }
    m_entry.clear();
    clear();
}

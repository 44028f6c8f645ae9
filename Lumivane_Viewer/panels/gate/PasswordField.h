#pragma once

#include <QLineEdit>

#include <string>

class QMimeData;

/// A masked single-line field whose entry never reaches the line edit
/// underneath: that holds one mask character per character typed, and the
/// entry itself is kept here. Qt builds the accessibility text-change events
/// of a line edit, which any client on the session may read, from what the
/// line edit holds, so they carry only masks, as the field shows only
/// masks. Typing, pasting (keys, middle click, context menu, drop) and input
/// methods insert through here; deletions are read back from the change in
/// length and cursor. An edit whose entry cannot be told (a redo) empties
/// the field. QLineEdit::text() gives masks: read password().
class PasswordField final : public QLineEdit
{
public:
    explicit PasswordField(QWidget *parent = nullptr);

    QString password() const;
    /// Replaces the entry, cursor at its end.
    void setPassword(const QString &password);

    /// What the line edit holds for each character of the entry.
    static constexpr char16_t mask = u'\u2022';

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    /// Where the cursor and the selection were before an edit.
    struct EditStart
    {
        int length;
        int cursor;
        int selectionStart; // the cursor when nothing is selected
        int selectionEnd;
    };

    EditStart editStart() const;
    /// Inserts at the cursor, over the selection, as typing does.
    void insertEntry(const QString &text);
    void pasteFrom(bool selection);
    /// Takes into the entry what an edit did to the masks since `start`:
    /// `inserted` replacing the selection, or characters removed.
    void followEdit(const EditStart &start, const std::u32string &inserted);

    std::u32string m_entry; // one element per mask
};

#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

class CapsuleButton;

/// The cover's action row: the start button in the tour's accent, with its
/// shadow and 8 points of room above it, and, when the cover has one, the
/// contact button; capsules 12 apart, the pair centred, each centred on the
/// row's middle. The start button always shows whole; a contact text too
/// long for the rest of the row is elided. The row takes only the capsules'
/// room in its layout: the
/// buttons themselves are children of the row's parent, placed over the row
/// with room around for the start button's shadow, which would otherwise be
/// cut off at the row's edges.
class CoverActionButtons final : public QWidget
{
public:
    /// `parent` is required: it holds the buttons.
    explicit CoverActionButtons(QWidget *parent);

    CapsuleButton *startButton() const { return m_start; }
    CapsuleButton *contactButton() const { return m_contact; }

    void setAccent(const QColor &accent);
    void setContactShown(bool shown);
    /// The buttons' texts; the row follows their new widths.
    void setTexts(const QString &start, const QString &contact);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QSize startCapsule() const;
    /// The contact button's capsule in a row of that width.
    QSize contactCapsule(int rowWidth) const;
    void placeButtons();

    QPointer<CapsuleButton> m_start;
    QPointer<CapsuleButton> m_contact;
};

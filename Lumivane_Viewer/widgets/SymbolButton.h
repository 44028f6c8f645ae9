#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QString>

#include <optional>

/// How a round symbol label looks: a symbol centred on a disc.
struct SymbolButtonLook
{
    double side = 34;            // disc diameter, logical pixels
    QString symbol;              // a name of SymbolImages
    double symbolPoints = 13;    // font size the symbol is sized like
    QColor symbolColor = Qt::white;
    std::optional<QColor> disabledSymbolColor; // else symbolColor when disabled
    QColor discColor = QColor(0, 0, 0, 153);
};

/// A round icon button: the look's symbol centred on its disc, nothing else.
/// Like the platform's plain button style it dims while pressed; it takes the
/// focus from the keyboard only and rings its disc while it shows it
/// (KeyboardFocus). Actions, tooltips and accessible names are the owner's.
class SymbolButton final : public QAbstractButton
{
public:
    explicit SymbolButton(SymbolButtonLook look, QWidget *parent = nullptr);

    const SymbolButtonLook &look() const { return m_look; }
    void setLook(SymbolButtonLook look);
    /// Changes only the symbol (a toggle showing "map" or "map.fill").
    void setSymbol(const QString &name);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    SymbolButtonLook m_look;
};

/// Opacity of a plain-style button's label while it is pressed.
constexpr double kPressedOpacity = 0.7;

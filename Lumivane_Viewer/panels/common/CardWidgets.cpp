#include "CardWidgets.h"

#include "widgets/CapsuleButton.h"

#include <QLabel>

QLabel *cardLabel(const QFont &font, const QColor &color, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

QAbstractButton *plainTextButton(const QFont &font, const QColor &color, QWidget *parent)
{
    CapsuleLook look;
    look.font = font;
    look.foreground = color;
    look.horizontalPadding = 0;
    look.verticalPadding = 0;
    auto *button = new CapsuleButton(look, QString(), parent);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

#pragma once

#include <QColor>
#include <QFont>
#include <QMargins>
#include <QString>
#include <QWidget>

#include <functional>

class QAbstractButton;
class QLabel;
class QVBoxLayout;

/// How a card's thanks view looks.
struct CardThanksLook
{
    QMargins margins;
    QString symbol;
    double symbolPoints = 40;
    QColor symbolColor;
    QFont titleFont;
    QColor titleColor;
    QFont bodyFont;
    QColor bodyColor;
    int bodySideInset = 0; // beyond the margins, left and right
    QColor closeColor;
};

/// What a modal card shows once its work is done: a symbol, a title, a
/// centred explanation and a plain close button, stacked and centred.
class CardThanksView final : public QWidget
{
public:
    explicit CardThanksView(const CardThanksLook &look, QWidget *parent = nullptr);

    void setTexts(const QString &title, const QString &body, const QString &close);
    /// Gives the keyboard focus to the close button.
    void focusClose();

    std::function<void()> onClose;

private:
    QLabel *m_title;
    QLabel *m_body;
    QAbstractButton *m_close;
};

/// Adds a hidden thanks view under a card's rows, whose close button runs
/// onClose.
CardThanksView *addThanksView(QVBoxLayout &cardColumn, const CardThanksLook &look, std::function<void()> onClose);

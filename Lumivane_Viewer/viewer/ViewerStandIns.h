#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QLineEdit;

// Plain views that hold the places of the viewer whose real views are built
// in other libraries, until those land: each place's factory in ViewerSlots
// switches to the real view. They show the text that tells a place apart and
// offer the one way out or forward the place needs; nothing more.

/// One line of text on a dark capsule, elided to the width it is given.
class StandInCapsule final : public QWidget
{
public:
    explicit StandInCapsule(const QString &text, QWidget *parent = nullptr);

    void setText(const QString &text);
    QString text() const { return m_text; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};

/// A dark card with a title and a close button; a modal card also dims the
/// whole place it is given and centres itself in it.
class StandInCard final : public QWidget
{
public:
    StandInCard(const QString &title, bool modal, QWidget *parent = nullptr);

    void setTitle(const QString &title);
    QString title() const { return m_title; }
    std::function<void()> onClose;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QRect cardRect() const;

    QString m_title;
    bool m_modal;
    QWidget *m_close = nullptr;
};

/// A black page with the tour's name and one button; with a password, a
/// field above the button that must match it exactly.
class StandInFace final : public QWidget
{
public:
    StandInFace(const QString &tourName, const QString &buttonText, std::optional<QString> password,
                QWidget *parent = nullptr);

    /// The button, once the password (if any) matches.
    std::function<void()> onProceed;
    /// A second button under the first, when given a text.
    void addSecondaryButton(const QString &text, std::function<void()> action);

    QLineEdit *passwordField() const { return m_field; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void proceed();

    std::optional<QString> m_password;
    QLineEdit *m_field = nullptr;
};

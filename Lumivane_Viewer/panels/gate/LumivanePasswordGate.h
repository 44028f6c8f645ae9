#pragma once

#include "ShakeAnimation.h"

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <functional>

class CapsuleButton;
class L10n;
class QGraphicsOpacityEffect;
class QLabel;
class PasswordField;
class ScreenReaderNotice;

/// The page in front of a tour that has a password: a black page with a
/// masked field and an unlock button. The password travels inside the
/// package, so the gate keeps casual visitors out and protects nothing. A
/// match is reported through onUnlock; a mismatch shakes the column and
/// shows a line that stays until the gate goes, which screen readers speak
/// on every mismatch (ScreenReaderNotice). No attempt limit, no delay,
/// nothing stored; the field does not take the focus by itself, and its
/// entry reaches neither the screen nor assistive technology (PasswordField).
class LumivanePasswordGate final : public QWidget
{
public:
    /// `clock` times the shake (seconds); tests inject their own.
    LumivanePasswordGate(QString expectedPassword, L10n &l10n, QWidget *parent = nullptr,
                         ShakeAnimation::Clock clock = ShakeAnimation::steadyClock());

    /// Run once per matching submission.
    std::function<void()> onUnlock;

    /// Compares the entry with the expected password (the unlock button and
    /// Return in the field, also when the field is empty).
    void submitPassword();

    /// The column's horizontal offset now, in logical pixels.
    double shakeOffset() const { return m_shake.offset(); }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildColumn();
    void rejectPassword();
    void retranslate();
    void placeColumn();
    void advanceAnimation();
    int naturalColumnWidth() const;

    QString m_expectedPassword;
    QPointer<L10n> m_l10n;
    ShakeAnimation m_shake;
    int m_errorShake = 0;
    QWidget *m_column = nullptr;
    QLabel *m_title = nullptr;
    QLabel *m_subtitle = nullptr;
    PasswordField *m_field = nullptr;
    QLabel *m_error = nullptr;
    QGraphicsOpacityEffect *m_errorFade = nullptr; // only while the line fades in
    ScreenReaderNotice *m_notice = nullptr;
    CapsuleButton *m_unlock = nullptr;
    QTimer m_frameTimer;
};

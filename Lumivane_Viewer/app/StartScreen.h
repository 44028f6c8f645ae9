#pragma once

#include <QString>
#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QAbstractButton;

/// The window's content while no tour is open: title, open button, drop hint
/// and the message of the last failed open. Its texts are fixed French texts.
/// Knows nothing of tours; the open button is reported through onOpenFile.
class StartScreen final : public QWidget
{
public:
    explicit StartScreen(QWidget *parent = nullptr);

    /// Shows `message` in red below the drop hint, or hides it when empty.
    void setLoadError(const std::optional<QString> &message);

    std::function<void()> onOpenFile;

    QAbstractButton *openButton() const { return m_openButton; }
    QLabel *errorLabel() const { return m_errorLabel; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QAbstractButton *m_openButton = nullptr;
    QLabel *m_errorLabel = nullptr;
};

#include "ScreenReaderNotice.h"

#include <QAccessibleWidget>

namespace {

QAccessibleInterface *noticeFactory(const QString &, QObject *object)
{
    if (auto *notice = dynamic_cast<ScreenReaderNotice *>(object))
        return new QAccessibleWidget(notice, QAccessible::Notification);
    return nullptr;
}

} // namespace

ScreenReaderNotice::ScreenReaderNotice(QWidget *parent)
    : QWidget(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(noticeFactory);
        return true;
    }();
    Q_UNUSED(installed);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 0, 0);
    hide();
}

void ScreenReaderNotice::say(const QString &text)
{
    // A screen reader speaks a notification as it comes into view.
    hide();
    setAccessibleName(text);
    show();
}

#include "ViewerDialog.h"

#include <QAccessibleWidget>
#include <QVariant>
#include <QWidget>

namespace {

const char *const kDialogProperty = "lumivaneDialogFocus";

QAccessibleInterface *dialogFactory(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (widget && dialogFocus(*widget))
        return new QAccessibleWidget(widget, QAccessible::Dialog);
    return nullptr;
}

} // namespace

void presentAsDialog(QWidget &widget, DialogFocus focus)
{
    static const bool installed = [] {
        QAccessible::installFactory(dialogFactory);
        return true;
    }();
    Q_UNUSED(installed);
    widget.setProperty(kDialogProperty, int(focus));
}

std::optional<DialogFocus> dialogFocus(const QWidget &widget)
{
    const QVariant value = widget.property(kDialogProperty);
    if (!value.isValid())
        return std::nullopt;
    return DialogFocus(value.toInt());
}

#include "gui_nx/Nx_WheelGuard.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEvent>
#include <QWidget>

namespace {

// Marks a widget as guarded, so that a later guard() leaves it alone.
const char* const kGuardedProperty = "nxWheelGuarded";

bool TakesWheelForValue(const QWidget* widget) {
    return qobject_cast<const QComboBox*>(widget) || qobject_cast<const QAbstractSpinBox*>(widget);
}

}  // namespace

Nx_WheelGuard::Nx_WheelGuard(QObject* parent) : QObject(parent) {}

void Nx_WheelGuard::guard(QWidget* root) {
    if (!root) return;
    QList<QWidget*> widgets = root->findChildren<QWidget*>();
    widgets.prepend(root);
    for (QWidget* widget : widgets) {
        if (!TakesWheelForValue(widget) || isGuarded(widget)) continue;
        // The wheel would otherwise hand the widget the focus before any
        // filter sees the event.
        if (widget->focusPolicy() & Qt::WheelFocus) widget->setFocusPolicy(Qt::StrongFocus);
        widget->installEventFilter(this);
        widget->setProperty(kGuardedProperty, true);
    }
}

bool Nx_WheelGuard::isGuarded(const QWidget* widget) {
    return widget && widget->property(kGuardedProperty).toBool();
}

bool Nx_WheelGuard::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::Wheel) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->hasFocus()) return false;
    // Not for this widget: ignored, the event travels on to its parents (the
    // scroll area of the page scrolls).
    event->ignore();
    return true;
}

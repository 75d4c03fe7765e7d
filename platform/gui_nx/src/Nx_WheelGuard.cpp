#include "gui_nx/Nx_WheelGuard.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QScrollBar>
#include <QWheelEvent>
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
    // Not for this widget: the innermost scroll area around it that can move
    // that way scrolls instead. Qt would pass an ignored event on to the
    // parents only when it came from the window system.
    auto* wheel = static_cast<QWheelEvent*>(event);
    const bool across = qAbs(wheel->angleDelta().x()) > qAbs(wheel->angleDelta().y());
    for (QWidget* parent = widget->parentWidget(); parent; parent = parent->parentWidget()) {
        auto* area = qobject_cast<QAbstractScrollArea*>(parent);
        if (!area || !area->viewport()->isAncestorOf(widget)) continue;
        const QScrollBar* bar = across ? area->horizontalScrollBar() : area->verticalScrollBar();
        if (bar->maximum() <= bar->minimum()) continue;
        QWidget* viewport = area->viewport();
        QWheelEvent scroll(viewport->mapFromGlobal(wheel->globalPosition()), wheel->globalPosition(),
                           wheel->pixelDelta(), wheel->angleDelta(), wheel->buttons(), wheel->modifiers(),
                           wheel->phase(), wheel->inverted(), wheel->source(), wheel->pointingDevice());
        QCoreApplication::sendEvent(viewport, &scroll);
        return true;
    }
    event->ignore();
    return true;
}

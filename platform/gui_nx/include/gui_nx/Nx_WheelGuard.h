#pragma once

#include "gui_nx/GuiNxExport.h"

#include <QObject>

class QWidget;

// Keeps the mouse wheel from changing a value the user is not working on.
// A combo box or spin box under the pointer takes the wheel only while it
// has the keyboard focus; otherwise the wheel goes on to the widgets around
// it, so that a scrolling page scrolls instead of changing whichever choice
// the pointer passes. Such widgets get focus by click and Tab only, not by
// the wheel.
//
// The wizard (Nx_Wizard) guards every page body it shows with one guard.
class NX_API Nx_WheelGuard : public QObject {
    Q_OBJECT

public:
    explicit Nx_WheelGuard(QObject* parent = nullptr);

    // Guards every combo box and spin box inside root (root too, when it is
    // one). Guarding a widget again does nothing more.
    void guard(QWidget* root);
    // Whether the guard watches this widget.
    static bool isGuarded(const QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

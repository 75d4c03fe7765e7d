#pragma once

#include "gui_nx/GuiNxExport.h"

#include <QString>

// Modal message boxes. A text that begins with "<qt>" is shown as rich text,
// any other text as it is. The box is modal over the active modal window (the
// running wizard), or over the active window.
//
// Button codes of critical, warning and information: 0 no button,
// 1 OK, 2 Cancel, 3 Yes, 4 No, 5 Abort, 6 Retry, 7 Ignore. Without any button
// the box has an OK button. The result is the code of the button pressed.
class NX_API Nx_MessageBox {
public:
    enum Button { NoButton = 0, Ok = 1, Cancel = 2, Yes = 3, No = 4, Abort = 5, Retry = 6, Ignore = 7 };

    static int critical(const QString& text, int button0, int button1 = 0, int button2 = 0);
    static int warning(const QString& text, int button0, int button1 = 0, int button2 = 0);
    static int information(const QString& text, int button0, int button1 = 0, int button2 = 0);

    // Up to three buttons with the given texts (an empty text makes no
    // button). Returns the index of the button chosen (0 for the first).
    // defaultButton is the index of the button Enter presses; escapeButton
    // the index of the one Escape presses, or -1 for none: the box can then be
    // left only through one of its buttons.
    static int question(const QString& text, const QString& button0Text,
                        const QString& button1Text = QString(),
                        const QString& button2Text = QString(),
                        int defaultButton = 0, int escapeButton = -1);

    // Unattended: no box is shown; its text goes to standard error as a line
    // (without the "<qt>" in front), and the call returns the first button's
    // code (critical, warning, information) or defaultButton (question), as
    // if the user had pressed Enter. Off by default.
    static void setUnattended(bool unattended);
    static bool isUnattended();
};

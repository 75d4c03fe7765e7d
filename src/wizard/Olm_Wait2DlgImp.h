#pragma once

#include "pal/String.h"
#include "wizard/Olm_Wait2UI.h"

// The modeless wait dialog: shows a text until the caller hides it again.
class Olm_Wait2DlgImp : public Olm_Wait2UI {
    Q_OBJECT

public:
    explicit Olm_Wait2DlgImp(QWidget* parent = nullptr, const char* name = nullptr, bool modal = false,
                             Qt::WindowFlags flags = {});
    ~Olm_Wait2DlgImp() override;

    // The text for the next Run; an empty text keeps the label as it is.
    void SetText(Pal::String text) { m_text = text; }
    // Shows the dialog and returns at once.
    void Run();
    void Quit();

private:
    Pal::String m_text;
};

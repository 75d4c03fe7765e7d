#pragma once

#include "kit/Olm_CoreSymbol.h"
#include "shared/OlmBaseExport.h"

#include <QWidget>

#include <memory>
#include <string>

class Nx_Wizard;
class Olm_HdlGenerator;
class Olm_KitGui;
class Olm_KitMain;
class QCheckBox;
class QLabel;
class QScrollArea;
class QToolButton;

// The panel beside the pages of a toolkit wizard's window: the core symbol
// (Olm_CoreSymbol, drawn as Olm_SymbolDrawing lays it out) as the wrapper
// would have it if the wizard finished now, with the output clocks'
// waveforms where the wizard gives them, made anew whenever a field of a
// page changes (Olm_SymbolSource::Preview: the model itself is not touched);
// and the toolkit's option to also write the self-checking testbench
// (Olm_KitMain::SetTestbench), off unless the run asked for it.
//
// The panel is kWidth pixels wide; its header button folds the picture away
// (and back), which leaves a narrow panel of the button and the check box. The toolkit's pages bring it up to date; on the library's
// summary page, which stays as it is, it shows the symbol of the last page.
// While the values on a page cannot make a design (a value its rule refuses,
// Apply refusing), the last symbol stays and a line below says so.
class OLM_BASE_EXPORT Olm_SymbolPanel : public QWidget {
public:
    static constexpr int kWidth = 250;

    // Puts a panel beside the wizard's pages (QWizard's side widget); the
    // wizard owns it.
    static Olm_SymbolPanel* Attach(Olm_KitMain& main, Nx_Wizard& wizard);
    // The panel of a wizard window, or null.
    static Olm_SymbolPanel* Of(const Nx_Wizard* wizard);

    Olm_SymbolPanel(Olm_KitMain& main, QWidget* parent = nullptr);
    ~Olm_SymbolPanel() override;

    // A field of a window page changed or the page became current: the
    // symbol is made anew from the values on it.
    void PageChanged(Olm_KitGui& gui);
    const Olm_CoreSymbol& Symbol() const { return m_symbol; }
    // Why the last change kept the symbol before it; empty when it did not.
    const std::string& Problem() const { return m_problem; }
    QCheckBox* TestbenchBox() const { return m_testbench; }
    // Folds the picture away or shows it.
    void SetFolded(bool folded);
    bool IsFolded() const;

private:
    class View;

    Olm_KitMain& m_main;
    std::unique_ptr<Olm_HdlGenerator> m_generator;
    Olm_CoreSymbol m_symbol;
    std::string m_problem;
    QToolButton* m_header;
    QScrollArea* m_scroll;
    View* m_view;
    QLabel* m_status;
    QCheckBox* m_testbench;
};

#pragma once

#include "../common/RefWizGui.h"

#include "PllSolver.h"

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace TklPll {

class OutputClocksPage;

// The window page of Output Clocks: one row per output, with the achieved
// frequency and its error worked out while the user types.
class OutputClocksGui : public OlmRef::RefWizGui {
public:
    OutputClocksGui(Nx_Wizard* wizard, OutputClocksPage* page);

    void dataToWidgets() override;
    void widgetsToData() override;
    void onActive() override;

private:
    struct Row {
        QCheckBox* enabled = nullptr;
        QLineEdit* freq = nullptr;
        QLineEdit* phase = nullptr;
        QLineEdit* duty = nullptr;
        QComboBox* buffer = nullptr;
        QLineEdit* port = nullptr;
        QLabel* achieved = nullptr;
        QLabel* error = nullptr;
    };
    // Solves what the widgets ask for and shows the outcome.
    void Recalculate();
    void UpdateEnabled(int row);

    OutputClocksPage* m_page;
    std::array<Row, kMaxOutputs> m_rows;
    QLabel* m_status;
    bool m_loading = false;
};

}  // namespace TklPll

// A block-RAM FIFO wizard as a plugin of olmwiz (wizard bram_fifo, data type
// bram of olm_bram.dev): one block RAM of 36 Kbit as a FIFO, synchronous or
// with a clock per side, with almost-full and almost-empty flags.
#include "OlmKit.h"
#include "plugin/Olm_WizardPlugin.h"

#include <QObject>

#include <algorithm>
#include <string>

namespace {

constexpr int kBits = 36864;  // 32 Kbit of data and 4 Kbit of parity per block RAM

bool Async(const Olm_FieldValues& v) { return v.Text("FIFO_MODE") == "ASYNC"; }

// The words the block RAM holds at a width: 9, 18 and 36 bits use the parity bits.
int Depth(int width) { return width % 9 == 0 ? kBits / width : kBits * 8 / 9 / width; }

class BramFifoWizard : public Olm_KitMain {
public:
    explicit BramFifoWizard(bool batch) : Olm_KitMain("bram_fifo", batch, "Olm Wizard - Block RAM FIFO") {
        SetBlockType("BRAM_FIFO");
        Olm_KitPage& page = AddPage("FIFO Setup", "A first-in first-out buffer in one block RAM.");
        page.AddField("FIFO_MODE", "Clocking:");
        page.AddField("DATA_WIDTH", "Data width (bits):");
        page.AddField("FIRST_WORD_FALL_THROUGH", "First word falls through:");
        page.AddField("DO_REG", "Output register:");
        page.AddField("ALMOST_FULL_OFFSET", "Almost full, words before full:");
        page.AddField("ALMOST_EMPTY_OFFSET", "Almost empty, words after empty:");
        page.AddPort("DI", "Write data port:").BusWidthFrom("DATA_WIDTH");
        page.AddPort("DO", "Read data port:").BusWidthFrom("DATA_WIDTH");
        page.AddPort("WRCLK", "Write clock port:");
        page.AddPort("RDCLK", "Read clock port:").EnabledWhen(Async).WhenDisabled(Olm_Field::Tie::Ground);
        page.AddPort("WREN", "Write enable port:");
        page.AddPort("RDEN", "Read enable port:");
        page.AddPort("RST", "Reset port:");
        page.AddPort("FULL", "Full flag port:");
        page.AddPort("EMPTY", "Empty flag port:");
        page.AddPort("ALMOSTFULL", "Almost full flag port:");
        page.AddPort("ALMOSTEMPTY", "Almost empty flag port:");
        // Checked as the designer types, and in batch mode before anything is written.
        page.AddCheck({"ALMOST_FULL_OFFSET", "ALMOST_EMPTY_OFFSET"}, [](const Olm_FieldValues& v) {
            const int depth = Depth(v.Int("DATA_WIDTH"));
            if (std::max(v.Int("ALMOST_FULL_OFFSET"), v.Int("ALMOST_EMPTY_OFFSET")) < depth) return std::string();
            return "An almost-full or almost-empty offset of " + std::to_string(depth) + " words or more never " +
                   "clears: the FIFO holds " + std::to_string(depth) + " words.";
        });
    }

    bool Apply() override {
        Olm_ModelEdit::SetValue(Block(), "DEPTH", std::to_string(Depth(ModelValues().Int("DATA_WIDTH"))));
        return true;
    }

    std::vector<std::string> FeatureLines() override {
        const Olm_FieldValues& v = ModelValues();
        return {"1 block RAM configured as a " + std::string(Async(v) ? "dual-clock" : "single-clock") + " FIFO: " +
                std::to_string(Depth(v.Int("DATA_WIDTH"))) + " words of " + v.Text("DATA_WIDTH") + " bits" +
                (v.Text("FIRST_WORD_FALL_THROUGH") == "TRUE" ? ", first word falls through." : ".")};
    }

    void AddConstraints(Olm_ConstraintTemplate& pkx) override {
        Olm_KitMain::AddConstraints(pkx);
        pkx.AddClock(ModelValues().Text(Olm_Field::PortAttribute("WRCLK")), 0.0);
        if (Async(ModelValues())) pkx.AddClock(ModelValues().Text(Olm_Field::PortAttribute("RDCLK")), 0.0);
    }
};

}  // namespace

// What olmwiz loads: makes the wizard for its one wizard type.
class BramFifoPlugin : public QObject, public Olm_WizardPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID OLM_WIZARD_PLUGIN_IID FILE "bram_fifo.json")
    Q_INTERFACES(Olm_WizardPlugin)

public:
    std::unique_ptr<Olm_KitMain> MakeWizard(const std::string& wizType, bool batch) override {
        return wizType == "bram_fifo" ? std::make_unique<BramFifoWizard>(batch) : nullptr;
    }
};

#include "bram_fifo.moc"

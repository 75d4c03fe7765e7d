#include "HsxPages.h"

#include "HsxWizard.h"

#include "kit/Olm_KitGui.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace Hsx {

namespace {

constexpr int kSiteRows = 4;  // the most lanes any installed transceiver offers

QString ToQt(const std::string& text) { return QString::fromLocal8Bit(text.c_str()); }

std::string LaneSite(int lane) { return lane == 0 ? "LOC" : "OLMW_ONLY_LANE" + std::to_string(lane) + "_LOC"; }

bool CommaOn(const Olm_FieldValues& v) { return v.Text("RX_DECODING") != "64B66B" && v.IsOn("COMMA_DETECT"); }

int LaneCount(const Olm_FieldValues& v) { return v.Int("OLMW_ONLY_LANE_COUNT", 1); }

bool Bonded(const Olm_FieldValues& v) { return LaneCount(v) > 1 && v.IsOn("OLMW_ONLY_BOND_LANES"); }

bool NearEnd(const Olm_FieldValues& v) { return v.Text("LOOPBACK_MODE").rfind("NEAR_END", 0) == 0; }

// "a, b or c"
template <class T>
std::string List(const std::vector<T>& values) {
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i)
        text += (i == 0 ? "" : i + 1 == values.size() ? " or " : ", ") + Num(static_cast<double>(values[i]));
    return text;
}

// A page whose fields' rules follow the transceiver chosen on the lane
// page: its combo boxes and tooltips are brought up to date whenever it
// shows or changes.
class HsxPage : public Olm_KitPage {
public:
    HsxPage(Olm_KitMain* main, HsxWizard* wizard, std::string title, std::string intro)
        : Olm_KitPage(main, std::move(title), std::move(intro)), m_wizard(wizard) {}

    void Refresh(Olm_KitGui& gui) override {
        for (const Olm_Field* field : Fields()) {
            QWidget* widget = gui.FieldWidget(field->GetAttribute());
            const Olm_AllowedValues& rule = field->GetAllowed();
            if (!widget || rule.GetKind() == Olm_AllowedValues::Kind::Text) continue;
            widget->setToolTip(ToQt(field->Describe() + ": " + rule.Describe()));
            auto* box = qobject_cast<QComboBox*>(widget);
            if (!box || rule.GetKind() != Olm_AllowedValues::Kind::Choice) continue;
            QStringList items;
            if (rule.IsAllowed("")) items << QString();  // an empty site: the placer chooses
            for (const std::string& choice : rule.GetChoices()) items << ToQt(choice);
            const QString current = box->currentText();
            if (!items.contains(current)) items << current;  // kept, so that Next names it
            QStringList shown;
            for (int i = 0; i < box->count(); ++i) shown << box->itemText(i);
            if (shown == items) continue;
            const QSignalBlocker quiet(box);
            box->clear();
            box->addItems(items);
            box->setCurrentIndex(static_cast<int>(items.indexOf(current)));
            // The box was sized for the choices it was made with; it grows
            // to the longest of the new ones ("64B66B").
            int longest = 0;
            for (const QString& item : items) longest = std::max(longest, static_cast<int>(item.size()));
            box->setMinimumContentsLength(longest);
            box->updateGeometry();
        }
    }

protected:
    HsxWizard* m_wizard;
};

class LanePage : public HsxPage {
public:
    LanePage(Olm_KitMain* main, HsxWizard* wizard)
        : HsxPage(main, wizard, "Transceiver Lanes",
                  "Choose the transceiver and how many of its lanes the design uses, and place each lane on a site. "
                  "An empty site leaves the lane for the placer.") {
        AddField("HSX_DISPLAY_NAME", "Transceiver lane:").EnabledWhen([wizard](const Olm_FieldValues& v) {
            return wizard->ChoosesLane(v);
        });
        AddField("OLMW_ONLY_LANE_COUNT", "Number of lanes:");
        for (int lane = 0; lane < kSiteRows; ++lane)
            AddField(LaneSite(lane), "Site of lane " + std::to_string(lane) + ":")
                .EnabledWhen([lane](const Olm_FieldValues& v) { return lane < LaneCount(v); });
        AddNote([wizard](const Olm_FieldValues& v) {
            const PllLimits l = wizard->Limits(v);
            return "Line rates " + Num(l.lineRate.min) + " to " + Num(l.lineRate.max) +
                   " Gbit/s from reference clocks of " + List(l.refClocks) + " MHz; up to " +
                   std::to_string(wizard->MaxLanes(v)) + " lanes.";
        });
    }

    bool Check(const Olm_FieldValues& v) override {
        for (int lane = 1; lane < LaneCount(v); ++lane) {
            for (int before = 0; before < lane; ++before) {
                const std::string site = v.Text(LaneSite(lane));
                if (site.empty() || site != v.Text(LaneSite(before))) continue;
                Error("Lanes %d and %d are both placed at %s; every lane needs a site of its own.", before, lane,
                      site.c_str());
                return false;
            }
        }
        return true;
    }

    void Accepted() override { m_wizard->UseChosenLanes(); }

    void BuildGui(Olm_KitGui& gui) override {
        // Rows for lanes the transceivers of the data do not have are hidden.
        QFormLayout* form = nullptr;
        for (int i = 0; i < gui.Column()->count() && !form; ++i)
            form = qobject_cast<QFormLayout*>(gui.Column()->itemAt(i)->layout());
        for (int lane = m_wizard->MaxLanes(Main()->ModelValues()); form && lane < kSiteRows; ++lane)
            if (QWidget* widget = gui.FieldWidget(LaneSite(lane))) form->setRowVisible(widget, false);
    }

    void Refresh(Olm_KitGui& gui) override {
        m_wizard->UpdateSiteRules(gui.Values());
        HsxPage::Refresh(gui);
    }
};

class RatePage : public HsxPage {
public:
    RatePage(Olm_KitMain* main, HsxWizard* wizard)
        : HsxPage(main, wizard, "Line Rate",
                  "Give the line rate and the reference clock. The wizard chooses the multiplier and the dividers of "
                  "the lane's PLL, which must give the line rate exactly.") {
        AddField("LINE_RATE", "Line rate (Gbit/s):");
        AddField("REFCLK_FREQ", "Reference clock (MHz):");
        AddNote([wizard](const Olm_FieldValues& v) {
            const RateResult r = wizard->SolveRate(v);
            const PllSetting& s = r.setting;
            return r.ok ? "Multiplier " + std::to_string(s.mult) + ", reference divider " + std::to_string(s.refDiv) +
                              ", rate divider " + std::to_string(s.rateDiv) + ": VCO = " + v.Text("REFCLK_FREQ") +
                              " MHz x " + std::to_string(s.mult) + " / " + std::to_string(s.refDiv) + " = " +
                              Num(s.vcoMHz) + " MHz; line rate = 2 x " + Num(s.vcoMHz) + " MHz / " +
                              std::to_string(s.rateDiv) + " = " + Num(s.rateGbps) + " Gbit/s."
                        : r.message;
        });
        AddNote([wizard](const Olm_FieldValues& v) {
            const PllLimits l = wizard->Limits(v);
            return "The lane's PLL runs its VCO at " + Num(l.vco.min) + " to " + Num(l.vco.max) +
                   " MHz with a multiplier of " + List(l.multipliers) + ", a reference divider of " +
                   List(l.refDividers) + " and a rate divider of " + List(l.rateDividers) + ".";
        });
    }

    bool Check(const Olm_FieldValues& v) override {
        const RateResult r = m_wizard->SolveRate(v);
        if (!r.ok) Error("%s", r.message.c_str());
        return r.ok;
    }
};

class DataPathPage : public HsxPage {
public:
    DataPathPage(Olm_KitMain* main, HsxWizard* wizard)
        : HsxPage(main, wizard, "Data Path",
                  "Choose the width of the data the fabric exchanges with each lane, the line coding, and how the "
                  "receiver finds the character boundaries.") {
        AddField("TX_DATA_WIDTH", "TX data width (bits):");
        AddField("TX_ENCODING", "TX encoding:");
        AddField("RX_DATA_WIDTH", "RX data width (bits):");
        AddField("RX_DECODING", "RX decoding:");
        AddField("COMMA_DETECT", "Comma detection:").EnabledWhen([](const Olm_FieldValues& v) {
            return v.Text("RX_DECODING") != "64B66B";
        });
        AddField("COMMA_VALUE", "Comma character:").EnabledWhen(CommaOn);
        AddField("COMMA_ALIGN_MSB", "Align commas to the most significant byte:").EnabledWhen(CommaOn);
        AddNote([wizard](const Olm_FieldValues& v) {
            double tx = 0.0, rx = 0.0;
            std::string why;
            if (!wizard->FabricClocks(v, tx, rx, why)) return why;
            const Range& f = wizard->Limits(v).fabric;
            return "Fabric clocks: TX " + Num(tx) + " MHz, RX " + Num(rx) + " MHz (the fabric takes " + Num(f.min) +
                   " to " + Num(f.max) + " MHz).";
        });
    }

    bool Check(const Olm_FieldValues& v) override {
        for (const char* dir : {"TX", "RX"}) {
            const std::string coding = v.Text(std::string(dir) + (dir[0] == 'T' ? "_ENCODING" : "_DECODING"));
            const int width = v.Int(std::string(dir) + "_DATA_WIDTH");
            if (coding == "64B66B" && width != 32 && width != 64) {
                Error("The %s data width %d bits does not suit 64b/66b coding: its gearbox takes 32 or 64 bits.", dir,
                      width);
                return false;
            }
        }
        double tx = 0.0, rx = 0.0;
        std::string why;
        if (!m_wizard->FabricClocks(v, tx, rx, why)) Error("%s", why.c_str());
        return why.empty();
    }
};

class ClockCompensationPage : public HsxPage {
public:
    ClockCompensationPage(Olm_KitMain* main, HsxWizard* wizard)
        : HsxPage(main, wizard, "Clock Compensation",
                  "The receiver's buffer makes up for the small difference between the far end's clock and this "
                  "lane's by repeating or dropping the clock-compensation sequence. Give the sequence the far end "
                  "sends, its characters from first to last.") {
        SkipWhen([](const Olm_FieldValues& v) { return v.Text("RX_DECODING") != "8B10B"; });
        AddField("CLK_COMP", "Clock compensation:");
        const auto on = [](const Olm_FieldValues& v) { return v.IsOn("CLK_COMP"); };
        AddField("CLK_COMP_SEQ", "Sequence (e.g. K28.5 D21.5):").EnabledWhen(on);
        // The length is the count of the characters; the wizard writes it.
        AddNote([wizard](const Olm_FieldValues& v) {
            if (!v.IsOn("CLK_COMP")) return std::string("No clock compensation.");
            const std::string problem = SequenceProblem(v.Text("CLK_COMP_SEQ"), wizard->SequenceLengths(v));
            if (!problem.empty()) return problem;
            const std::size_t count = SequenceCharacters(v.Text("CLK_COMP_SEQ")).size();
            return "A sequence of " + std::to_string(count) + (count == 1 ? " character." : " characters.");
        });
    }

    bool Check(const Olm_FieldValues& v) override {
        if (!v.IsOn("CLK_COMP")) return true;
        const std::string problem = SequenceProblem(v.Text("CLK_COMP_SEQ"), m_wizard->SequenceLengths(v));
        if (!problem.empty()) Error("%s", problem.c_str());
        return problem.empty();
    }
};

class BondingPage : public HsxPage {
public:
    BondingPage(Olm_KitMain* main, HsxWizard* wizard)
        : HsxPage(main, wizard, "Lane Bonding",
                  "Bonded lanes carry one wide link: the master lane aligns the data of its slaves so that the "
                  "characters sent together arrive together.") {
        SkipWhen([](const Olm_FieldValues& v) { return LaneCount(v) <= 1; });
        AddField("OLMW_ONLY_BOND_LANES", "Bond the lanes:");
        AddField("OLMW_ONLY_BOND_MASTER", "Master lane:").EnabledWhen(Bonded);
        AddNote([](const Olm_FieldValues& v) {
            if (!Bonded(v)) return std::string("The lanes run independently of one another.");
            std::string slaves;
            for (int lane = 0; lane < LaneCount(v); ++lane)
                if (lane != v.Int("OLMW_ONLY_BOND_MASTER"))
                    slaves += (slaves.empty() ? "" : ", ") + std::to_string(lane);
            return "Lane " + v.Text("OLMW_ONLY_BOND_MASTER") + " is the master; lane" +
                   (slaves.size() > 1 ? "s " : " ") + slaves + (slaves.size() > 1 ? " are" : " is") + " its slave" +
                   (slaves.size() > 1 ? "s." : ".");
        });
    }

    bool Check(const Olm_FieldValues& v) override {
        if (!Bonded(v) || v.Int("OLMW_ONLY_BOND_MASTER") < LaneCount(v)) return true;
        Error("The master lane %d is not one of the %d lanes (0 to %d).", v.Int("OLMW_ONLY_BOND_MASTER"), LaneCount(v),
              LaneCount(v) - 1);
        return false;
    }
};

class LoopbackPage : public HsxPage {
public:
    LoopbackPage(Olm_KitMain* main, HsxWizard* wizard)
        : HsxPage(main, wizard, "Loopback", "Choose a loopback path for testing the lane, or none.") {
        AddField("LOOPBACK_MODE", "Loopback:");
        AddNote([](const Olm_FieldValues& v) {
            const std::string mode = v.Text("LOOPBACK_MODE");
            if (mode == "NEAR_END_PCS")
                return std::string(
                    "The transmitted data returns to the receiver inside the "
                    "lane's coding logic, before the serializer.");
            if (mode == "NEAR_END_PMA")
                return std::string(
                    "The transmitted data returns to the receiver after the "
                    "serializer, before the output driver.");
            if (mode == "FAR_END_PMA")
                return std::string(
                    "The received serial data is sent straight back to the "
                    "far end.");
            return std::string("The lane sends and receives normally.");
        });
    }

    bool Check(const Olm_FieldValues& v) override {
        if (!NearEnd(v)) return true;
        if (v.Text("TX_ENCODING") == v.Text("RX_DECODING") && v.Text("TX_DATA_WIDTH") == v.Text("RX_DATA_WIDTH"))
            return true;
        Error(
            "Near-end loopback returns the transmitted data to this lane's receiver: the TX encoding %s and width %s "
            "bits must match the RX decoding %s and width %s bits.",
            v.Text("TX_ENCODING").c_str(), v.Text("TX_DATA_WIDTH").c_str(), v.Text("RX_DECODING").c_str(),
            v.Text("RX_DATA_WIDTH").c_str());
        return false;
    }
};

class BufferPage : public HsxPage {
public:
    BufferPage(Olm_KitMain* main, HsxWizard* wizard)
        : HsxPage(main, wizard, "Buffers",
                  "The buffers move the data between the lane's clocks and the fabric clocks. Bypass one only when "
                  "the fabric clock of its direction is derived from the lane's own clock.") {
        AddField("TX_BUFFER_USE", "TX buffer:");
        AddField("RX_BUFFER_USE", "RX buffer:");
        AddNote([](const Olm_FieldValues&) {
            return std::string("Clock compensation and lane bonding take place in the RX buffer.");
        });
    }

    bool Check(const Olm_FieldValues& v) override {
        if (v.IsOn("RX_BUFFER_USE")) return true;
        if (v.Text("RX_DECODING") == "8B10B" && v.IsOn("CLK_COMP")) {
            Error(
                "Clock compensation repeats or drops characters in the RX buffer: switch the RX buffer on, or clock "
                "compensation off.");
            return false;
        }
        if (Bonded(v)) {
            Error("Bonded lanes are aligned in their RX buffers: switch the RX buffer on, or bonding off.");
            return false;
        }
        return true;
    }
};

}  // namespace

Olm_KitPage& AddPages(HsxWizard& wizard) {
    Olm_KitPage& lanes = wizard.AddPage<LanePage>(&wizard);
    wizard.AddPage<RatePage>(&wizard);
    wizard.AddPage<DataPathPage>(&wizard);
    wizard.AddPage<ClockCompensationPage>(&wizard);
    wizard.AddPage<BondingPage>(&wizard);
    wizard.AddPage<LoopbackPage>(&wizard);
    wizard.AddPage<BufferPage>(&wizard);
    return lanes;
}

}  // namespace Hsx

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
        for (int lane = 1; lane < kSiteRows; ++lane) {
            AddCheck({LaneSite(lane)}, [lane](const Olm_FieldValues& v) {
                if (lane >= LaneCount(v)) return std::string();
                const std::string site = v.Text(LaneSite(lane));
                for (int before = 0; before < lane && !site.empty(); ++before) {
                    if (site != v.Text(LaneSite(before))) continue;
                    return "Lanes " + std::to_string(before) + " and " + std::to_string(lane) + " are both placed at " +
                           site + "; every lane needs a site of its own.";
                }
                return std::string();
            });
        }
        AddNote([wizard](const Olm_FieldValues& v) {
            const PllLimits l = wizard->Limits(v);
            return "Line rates " + Num(l.lineRate.min) + " to " + Num(l.lineRate.max) +
                   " Gbit/s from reference clocks of " + List(l.refClocks) + " MHz; up to " +
                   std::to_string(wizard->MaxLanes(v)) + " lanes.";
        });
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
        AddCheck({"LINE_RATE", "REFCLK_FREQ"}, [wizard](const Olm_FieldValues& v) {
            const RateResult r = wizard->SolveRate(v);
            return r.ok ? std::string() : r.message;
        });
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
        for (const std::string dir : {"TX", "RX"}) {
            AddCheck({dir + "_DATA_WIDTH"}, [dir](const Olm_FieldValues& v) {
                const std::string coding = v.Text(dir + (dir == "TX" ? "_ENCODING" : "_DECODING"));
                const int width = v.Int(dir + "_DATA_WIDTH");
                if (coding != "64B66B" || width == 32 || width == 64) return std::string();
                return "The " + dir + " data width " + std::to_string(width) +
                       " bits does not suit 64b/66b coding: its gearbox takes 32 or 64 bits.";
            });
        }
        // The fabric clocks only once the widths suit the coding.
        AddCheck({}, [wizard](const Olm_FieldValues& v) {
            for (const std::string dir : {"TX", "RX"}) {
                const int width = v.Int(dir + "_DATA_WIDTH");
                if (v.Text(dir + (dir == "TX" ? "_ENCODING" : "_DECODING")) == "64B66B" && width != 32 && width != 64)
                    return std::string();
            }
            double tx = 0.0, rx = 0.0;
            std::string why;
            wizard->FabricClocks(v, tx, rx, why);
            return why;
        });
        AddNote([wizard](const Olm_FieldValues& v) {
            double tx = 0.0, rx = 0.0;
            std::string why;
            if (!wizard->FabricClocks(v, tx, rx, why)) return why;
            const Range& f = wizard->Limits(v).fabric;
            return "Fabric clocks: TX " + Num(tx) + " MHz, RX " + Num(rx) + " MHz (the fabric takes " + Num(f.min) +
                   " to " + Num(f.max) + " MHz).";
        });
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
        AddCheck({"CLK_COMP_SEQ"}, [wizard](const Olm_FieldValues& v) {
            return v.IsOn("CLK_COMP") ? SequenceProblem(v.Text("CLK_COMP_SEQ"), wizard->SequenceLengths(v))
                                      : std::string();
        });
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
        AddCheck({"OLMW_ONLY_BOND_MASTER"}, [](const Olm_FieldValues& v) {
            const int master = v.Int("OLMW_ONLY_BOND_MASTER"), lanes = LaneCount(v);
            if (!Bonded(v) || master < lanes) return std::string();
            return "The master lane " + std::to_string(master) + " is not one of the " + std::to_string(lanes) +
                   " lanes (0 to " + std::to_string(lanes - 1) + ").";
        });
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

};

class LoopbackPage : public HsxPage {
public:
    LoopbackPage(Olm_KitMain* main, HsxWizard* wizard)
        : HsxPage(main, wizard, "Loopback", "Choose a loopback path for testing the lane, or none.") {
        AddField("LOOPBACK_MODE", "Loopback:");
        AddCheck({"LOOPBACK_MODE"}, [](const Olm_FieldValues& v) {
            if (!NearEnd(v) ||
                (v.Text("TX_ENCODING") == v.Text("RX_DECODING") && v.Text("TX_DATA_WIDTH") == v.Text("RX_DATA_WIDTH")))
                return std::string();
            return "Near-end loopback returns the transmitted data to this lane's receiver: the TX encoding " +
                   v.Text("TX_ENCODING") + " and width " + v.Text("TX_DATA_WIDTH") + " bits must match the RX decoding " +
                   v.Text("RX_DECODING") + " and width " + v.Text("RX_DATA_WIDTH") + " bits.";
        });
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

};

class BufferPage : public HsxPage {
public:
    BufferPage(Olm_KitMain* main, HsxWizard* wizard)
        : HsxPage(main, wizard, "Buffers",
                  "The buffers move the data between the lane's clocks and the fabric clocks. Bypass one only when "
                  "the fabric clock of its direction is derived from the lane's own clock.") {
        AddField("TX_BUFFER_USE", "TX buffer:");
        AddField("RX_BUFFER_USE", "RX buffer:");
        AddCheck({"RX_BUFFER_USE"}, [](const Olm_FieldValues& v) {
            if (v.IsOn("RX_BUFFER_USE")) return std::string();
            if (v.Text("RX_DECODING") == "8B10B" && v.IsOn("CLK_COMP"))
                return std::string(
                    "Clock compensation repeats or drops characters in the RX buffer: switch the RX buffer on, or "
                    "clock compensation off.");
            if (Bonded(v))
                return std::string("Bonded lanes are aligned in their RX buffers: switch the RX buffer on, or bonding off.");
            return std::string();
        });
        AddNote([](const Olm_FieldValues&) {
            return std::string("Clock compensation and lane bonding take place in the RX buffer.");
        });
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

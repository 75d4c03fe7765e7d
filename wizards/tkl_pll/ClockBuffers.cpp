#include "ClockBuffers.h"

#include "PllSolver.h"

#include "OlmConfig.h"

namespace TklPll {

namespace {

std::string Out(int n) { return "CLKOUT" + std::to_string(n); }
std::string Choice(const Olm_FieldValues& values, int n) { return values.Text("OLMW_ONLY_SETCLKBUF_," + Out(n)); }
bool Used(const Olm_FieldValues& values, int n) { return values.IsOn("OLMW_ONLY_CLKOUT" + std::to_string(n) + "_USED"); }
std::string Port(const Olm_FieldValues& values, int n) { return values.Text(Olm_Field::PortAttribute(Out(n))); }

bool IsBufferInstance(Olm_WizData& data, Olm_Block* block) {
    for (const ClockBuffers::Type& type : ClockBuffers::Types()) {
        if (!type.primitive || block->GetPrimType().Compare(type.primitive, Pal::String::kNoCase) != 0) continue;
        return data.GetPrimitiveBlock(type.primitive) != block;
    }
    return false;
}

// The net a pin of a buffer instance is on, or empty.
std::string NetOf(Olm_Block& block, const char* pin) {
    const Olm_Pin* p = block.GetNamedPin(pin);
    return p && p->IsActive() ? p->GetSigName().str() : std::string();
}

void Connect(Olm_Block& block, const char* pin, const std::string& net) {
    if (Olm_Pin* p = block.GetNamedPin(pin)) {
        p->SetIsActive(true);
        p->SetSigName(net.c_str());
    }
}

}  // namespace

const std::vector<ClockBuffers::Type>& ClockBuffers::Types() {
    static const std::vector<Type> kTypes = {
        {"Global Buffer", "KBUFG", nullptr}, {"Enabled Buffer", "KBUFGCE", nullptr},
        {"Clock Mux", "KBUFGMUX", nullptr},  {"Output Buffer", "KOBUF", nullptr},
        {"Lowskewline", nullptr, "lowskew"}, {"Local Routing", nullptr, "local"},
    };
    return kTypes;
}

const ClockBuffers::Type* ClockBuffers::Find(const std::string& choice) {
    for (const Type& type : Types())
        if (choice == type.choice) return &type;
    return nullptr;
}

std::vector<std::string> ClockBuffers::ExtraPorts(const std::string& choice, const std::string& port) {
    const Type* type = Find(choice);
    if (!type || !type->primitive) return {};
    if (std::string(type->primitive) == "KBUFGCE") return {port + "_ce"};
    if (std::string(type->primitive) == "KBUFGMUX") return {port + "_alt", port + "_sel"};
    return {};
}

void ClockBuffers::Remove(Olm_WizData& data, Olm_Block& pll) {
    for (bool removed = true; removed;) {
        removed = false;
        for (Olm_Block* block : data.GetBlkList()) {
            if (!block || !IsBufferInstance(data, block)) continue;
            const std::string in = NetOf(*block, block->GetNamedPin("I0") ? "I0" : "I");
            const std::string out = NetOf(*block, "O");
            for (Olm_Pin* pin : pll.GetPinList()) {
                if (pin && !in.empty() && !out.empty() && pin->GetSigName().str() == in) pin->SetSigName(out.c_str());
            }
            data.DeleteBlock(block);
            removed = true;
            break;
        }
    }
}

bool ClockBuffers::Insert(Olm_WizData& data, Olm_Block& pll, const Olm_FieldValues& values, std::string& error) {
    for (int n = 0; n < kMaxOutputs; ++n) {
        const Type* type = Find(Choice(values, n));
        Olm_Pin* output = pll.GetNamedPin(Out(n).c_str());
        if (!Used(values, n) || !type || !type->primitive || !output || output->GetSigName().IsEmpty()) continue;
        Olm_Block* templ = data.GetPrimitiveBlock(type->primitive);
        if (!templ) {
            error = "The installed data has no primitive " + std::string(type->primitive) + " for the clock buffer '" +
                    type->choice + "' of " + Out(n) + ".";
            Remove(data, pll);
            return false;
        }
        const std::string port = Port(values, n);
        Olm_ModelEdit::SetValue(&pll, Olm_Field::PortAttribute(Out(n)).c_str(), port);
        const std::string outNet = output->GetSigName().str();
        const std::string inner = Out(n) + "_PLL";
        Olm_Block* buffer = data.CopyBlock(templ, (std::string(type->primitive) + "_" + Out(n)).c_str());
        buffer->SetIsActive(true);
        data.AddSignal(inner.c_str(), false, "");
        output->SetSigName(inner.c_str());
        Connect(*buffer, buffer->GetNamedPin("I0") ? "I0" : "I", inner);
        Connect(*buffer, "O", outNet);
        const std::vector<std::string> extra = ExtraPorts(type->choice, port);
        if (extra.size() == 1) {
            Olm_ModelEdit::ConnectPort(data, *buffer, "CE", (Out(n) + "_CE_IN").c_str(), extra[0]);
        } else if (extra.size() == 2) {
            Olm_ModelEdit::ConnectPort(data, *buffer, "I1", (Out(n) + "_ALT_IN").c_str(), extra[0]);
            Olm_ModelEdit::ConnectPort(data, *buffer, "S", (Out(n) + "_SEL_IN").c_str(), extra[1]);
        }
    }
    return true;
}

std::vector<std::string> ClockBuffers::RouteLines(const Olm_FieldValues& values) {
    std::vector<std::string> lines;
    for (int n = 0; n < kMaxOutputs; ++n) {
        const Type* type = Find(Choice(values, n));
        if (Used(values, n) && type && type->route)
            lines.push_back("clock_route " + Port(values, n) + " = " + type->route + ";");
    }
    return lines;
}

}  // namespace TklPll

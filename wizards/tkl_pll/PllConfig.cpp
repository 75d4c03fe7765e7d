#include "PllConfig.h"

#include "../common/DesignUtil.h"

#include "OlmBase.h"

#include <cmath>

namespace TklPll {

using OlmRef::AttrOr;
using OlmRef::ConnectPort;
using OlmRef::PortOf;
using OlmRef::SetAttr;

namespace {

std::string Out(int n, const char* suffix) { return "CLKOUT" + std::to_string(n) + suffix; }
std::string Wiz(int n, const char* suffix) { return "OLMW_ONLY_CLKOUT" + std::to_string(n) + suffix; }

// An attribute that an option file or the user set counts over what the
// design file says: it is the one that is active.
bool IsSet(Olm_Block* block, const std::string& name) {
    Olm_Attribute* attr = block->GetNamedAttribute(name.c_str());
    return attr && attr->IsActive();
}

}  // namespace

std::string FormatMHz(double mhz) {
    std::string text = OlmRef::FormatFixed(mhz, 6);
    if (text.find('.') != std::string::npos) {
        while (text.back() == '0') text.pop_back();
        if (text.back() == '.') text.pop_back();
    }
    return text;
}

void PllConfig::Load(Olm_WizData* data, Olm_Block* block, bool existing) {
    if (!data || !block) return;
    const bool fromDesign = existing;
    double period = 0.0;
    if (fromDesign && !IsSet(block, "OLMW_ONLY_CLKIN1_FREQ") &&
        OlmRef::ParseNumber(AttrOr(block, "INCLK1_PERIOD", ""), period) && period > 0.0)
        inputFreq = FormatMHz(1000.0 / period);
    else
        inputFreq = AttrOr(block, "OLMW_ONLY_CLKIN1_FREQ", "100");
    inputPort = AttrOr(block, "OLMW_ONLY_CLKIN1_PORT", PortOf(data, block, "CLKIN1", "CLKIN1_IN"));
    feedback = AttrOr(block, "OLMW_ONLY_PLL_FBSRC_CLKOUT", "CLKFBOUT");

    Olm_Pin* rst = block->GetNamedPin("RST");
    const bool rstUsed = rst && !rst->IsGrounded() && !rst->IsVcc();
    useReset = OlmRef::IsTrueText(AttrOr(block, "OLMW_ONLY_USE_RST", rstUsed ? "TRUE" : "FALSE"));
    resetPort = AttrOr(block, "OLMW_ONLY_RST_PORT", PortOf(data, block, "RST", "RST_IN"));
    Olm_Pin* locked = block->GetNamedPin("LOCKED");
    const bool lockedUsed = locked && locked->IsActive();
    useLocked = OlmRef::IsTrueText(AttrOr(block, "OLMW_ONLY_USE_LOCKED", lockedUsed ? "TRUE" : "FALSE"));
    lockedPort = AttrOr(block, "OLMW_ONLY_LOCKED_PORT", PortOf(data, block, "LOCKED", "LOCKED_OUT"));
    tolerancePpm = AttrOr(block, "OLMW_ONLY_FREQ_TOLERANCE_PPM", "1000");

    double fin = 0.0, d = 0.0, m = 0.0;
    const bool haveVco = OlmRef::ParseNumber(inputFreq, fin) && OlmRef::ParseNumber(AttrOr(block, "REFCLK_DIV", ""), d) &&
                         OlmRef::ParseNumber(AttrOr(block, "CLKFBOUT_MULT", ""), m) && d > 0.0;
    for (int n = 0; n < kMaxOutputs; ++n) {
        PllOutputConfig& out = outputs[n];
        Olm_Pin* pin = block->GetNamedPin(Out(n, "").c_str());
        if (fromDesign && !IsSet(block, Wiz(n, "_USED")))
            out.enabled = pin && pin->IsActive();
        else
            out.enabled = OlmRef::IsTrueText(AttrOr(block, Wiz(n, "_USED").c_str(), "FALSE"));
        double o = 0.0;
        if (fromDesign && !IsSet(block, Wiz(n, "_FREQ")) && haveVco &&
            OlmRef::ParseNumber(AttrOr(block, Out(n, "_DIVIDE").c_str(), ""), o) && o > 0.0)
            out.freq = FormatMHz(fin * m / d / o);
        else
            out.freq = AttrOr(block, Wiz(n, "_FREQ").c_str(), "100");
        out.phase = AttrOr(block, Out(n, "_PHASE").c_str(), "0.000");
        out.duty = AttrOr(block, Out(n, "_DUTY").c_str(), "0.50");
        out.buffer = AttrOr(block, ("OLMW_ONLY_SETCLKBUF_," + Out(n, "")).c_str(), kBufferTypes[0]);
        out.port = AttrOr(block, Wiz(n, "_PORT").c_str(), PortOf(data, block, Out(n, "").c_str(), Out(n, "_OUT")));
    }
}

void PllConfig::Apply(Olm_WizData* data, Olm_Block* block, const PllResult& result) const {
    if (!data || !block) return;
    double fin = 0.0;
    SetAttr(block, "OLMW_ONLY_CLKIN1_FREQ", inputFreq);
    if (OlmRef::ParseNumber(inputFreq, fin) && fin > 0.0)
        SetAttr(block, "INCLK1_PERIOD", OlmRef::FormatFixed(1000.0 / fin, 3));
    SetAttr(block, "OLMW_ONLY_PLL_FBSRC_CLKOUT", feedback);
    if (result.ok) {
        SetAttr(block, "REFCLK_DIV", std::to_string(result.inputDiv));
        SetAttr(block, "CLKFBOUT_MULT", std::to_string(result.feedbackMult));
    }

    ConnectPort(data, block, "CLKIN1", "CLKIN1_IN", inputPort);
    if (Olm_Pin* rst = block->GetNamedPin("RST")) {
        if (useReset) {
            ConnectPort(data, block, "RST", "RST_IN", resetPort);
        } else {
            rst->SetIsActive(true);
            rst->SetIsGrounded(true);
        }
    }
    if (Olm_Pin* locked = block->GetNamedPin("LOCKED")) {
        if (useLocked) {
            ConnectPort(data, block, "LOCKED", "LOCKED_OUT", lockedPort);
        } else {
            locked->SetIsActive(false);
            locked->SetSigName("");
        }
    }

    for (int n = 0; n < kMaxOutputs; ++n) {
        const PllOutputConfig& out = outputs[n];
        SetAttr(block, Wiz(n, "_USED").c_str(), out.enabled ? "TRUE" : "FALSE");
        SetAttr(block, Wiz(n, "_FREQ").c_str(), out.freq);
        Olm_Pin* pin = block->GetNamedPin(Out(n, "").c_str());
        if (!out.enabled) {
            if (pin) pin->SetIsActive(false);
            continue;
        }
        if (result.ok && result.outputs[n].divider > 0)
            SetAttr(block, Out(n, "_DIVIDE").c_str(), std::to_string(result.outputs[n].divider));
        double value = 0.0;
        if (OlmRef::ParseNumber(out.phase, value)) SetAttr(block, Out(n, "_PHASE").c_str(), OlmRef::FormatFixed(value, 3));
        if (OlmRef::ParseNumber(out.duty, value))
            SetAttr(block, Out(n, "_DUTY").c_str(), OlmRef::FormatFixed(value, 2));
        const std::string bufferAttr = "OLMW_ONLY_SETCLKBUF_," + Out(n, "");
        if (out.buffer != kBufferTypes[0] || block->GetNamedAttribute(bufferAttr.c_str()))
            SetAttr(block, bufferAttr.c_str(), out.buffer);
        ConnectPort(data, block, Out(n, "").c_str(), Out(n, "_OUT").c_str(), out.port);
    }

    // Feedback: CLKFBOUT straight back into CLKFBIN, or the chosen output's net.
    Olm_Pin* fbOut = block->GetNamedPin("CLKFBOUT");
    Olm_Pin* fbIn = block->GetNamedPin("CLKFBIN");
    const bool internal = feedback == "CLKFBOUT";
    if (fbOut) {
        fbOut->SetIsActive(internal);
        fbOut->SetSigName(internal ? "CLKFBOUT_OUT" : "");
    }
    if (fbIn) {
        fbIn->SetIsActive(true);
        fbIn->SetSigName(internal ? "CLKFBOUT_OUT" : feedback + "_OUT");
    }
    if (internal) data->AddSignal("CLKFBOUT_OUT", false, "");
}

bool ReadLimits(Olm_Block* block, PllLimits& limits, std::string& missing) {
    struct Source {
        const char* attr;
        PllRange* range;
        PllIntRange* intRange;
    };
    const Source sources[] = {
        {"OLMW_ONLY_CLKIN1_FREQ", &limits.input, nullptr}, {"OLMW_ONLY_PFD_FREQ", &limits.pfd, nullptr},
        {"OLMW_ONLY_VCO_FREQ", &limits.vco, nullptr},      {"REFCLK_DIV", nullptr, &limits.inputDiv},
        {"CLKFBOUT_MULT", nullptr, &limits.feedbackMult},  {"CLKOUT0_DIVIDE", nullptr, &limits.outputDiv},
    };
    for (const Source& source : sources) {
        std::string lo, hi;
        const bool ok = OlmRef::AttrRange(block, source.attr, lo, hi) &&
                        (source.range ? PllSolver::ParseRange(lo, hi, *source.range)
                                      : PllSolver::ParseRange(lo, hi, *source.intRange));
        if (!ok) {
            missing = source.attr;
            return false;
        }
    }
    return true;
}

}  // namespace TklPll

#include "MultConfig.h"

#include "../common/DesignUtil.h"

#include "OlmBase.h"

#include <algorithm>

namespace DspMult {

using OlmRef::AttrOr;
using OlmRef::ConnectPort;
using OlmRef::PortOf;
using OlmRef::SetAttr;

namespace {

int Int(const std::string& text) {
    int value = 0;
    return OlmRef::ParseInt(text, value) ? value : 0;
}

}  // namespace

void MultConfig::Load(Olm_WizData* data, Olm_Block* block) {
    if (!data || !block) return;
    aWidth = AttrOr(block, "A_WIDTH", "18");
    bWidth = AttrOr(block, "B_WIDTH", "18");
    pWidth = AttrOr(block, "P_WIDTH", "36");
    aSigned = OlmRef::IsTrueText(AttrOr(block, "A_SIGNED", "TRUE"));
    bSigned = OlmRef::IsTrueText(AttrOr(block, "B_SIGNED", "TRUE"));
    aPipe = AttrOr(block, "A_PIPE", "1");
    bPipe = AttrOr(block, "B_PIPE", "1");
    mPipe = AttrOr(block, "M_PIPE", "1");
    pPipe = AttrOr(block, "P_PIPE", "1");
    resetType = AttrOr(block, "RESET_TYPE", "SYNC");
    Olm_Pin* ce = block->GetNamedPin("CE");
    useCe = OlmRef::IsTrueText(AttrOr(block, "OLMW_ONLY_USE_CE", ce && !ce->IsVcc() ? "TRUE" : "FALSE"));
    Olm_Pin* rst = block->GetNamedPin("RST");
    useRst = OlmRef::IsTrueText(AttrOr(block, "OLMW_ONLY_USE_RST", rst && !rst->IsGrounded() ? "TRUE" : "FALSE"));
    portA = AttrOr(block, "OLMW_ONLY_A_PORT", PortOf(data, block, "A", "A"));
    portB = AttrOr(block, "OLMW_ONLY_B_PORT", PortOf(data, block, "B", "B"));
    portP = AttrOr(block, "OLMW_ONLY_P_PORT", PortOf(data, block, "P", "P"));
    portClk = AttrOr(block, "OLMW_ONLY_CLK_PORT", PortOf(data, block, "CLK", "CLK"));
    portCe = AttrOr(block, "OLMW_ONLY_CE_PORT", PortOf(data, block, "CE", "CE"));
    portRst = AttrOr(block, "OLMW_ONLY_RST_PORT", PortOf(data, block, "RST", "RST"));
}

int MultConfig::Latency() const { return std::max(Int(aPipe), Int(bPipe)) + Int(mPipe) + Int(pPipe); }

void MultConfig::Apply(Olm_WizData* data, Olm_Block* block) const {
    if (!data || !block) return;
    SetAttr(block, "OPERATION_MODE", "MULTIPLY");
    SetAttr(block, "A_WIDTH", aWidth);
    SetAttr(block, "B_WIDTH", bWidth);
    SetAttr(block, "P_WIDTH", pWidth);
    SetAttr(block, "A_SIGNED", aSigned ? "TRUE" : "FALSE");
    SetAttr(block, "B_SIGNED", bSigned ? "TRUE" : "FALSE");
    SetAttr(block, "A_PIPE", aPipe);
    SetAttr(block, "B_PIPE", bPipe);
    SetAttr(block, "M_PIPE", mPipe);
    SetAttr(block, "P_PIPE", pPipe);
    SetAttr(block, "RESET_TYPE", resetType);
    SetAttr(block, "OLMW_ONLY_LATENCY", std::to_string(Latency()));

    ConnectPort(data, block, "A", "A_IN", portA, Int(aWidth));
    ConnectPort(data, block, "B", "B_IN", portB, Int(bWidth));
    ConnectPort(data, block, "P", "P_OUT", portP, Int(pWidth));

    // Without a register the multiplier needs no clock, enable or reset.
    const bool clocked = Latency() > 0;
    Olm_Pin* clk = block->GetNamedPin("CLK");
    if (clocked)
        ConnectPort(data, block, "CLK", "CLK_IN", portClk, 0);
    else if (clk)
        clk->SetIsGrounded(true);
    Olm_Pin* ce = block->GetNamedPin("CE");
    if (clocked && useCe)
        ConnectPort(data, block, "CE", "CE_IN", portCe, 0);
    else if (ce)
        ce->SetIsVcc(true);
    Olm_Pin* rst = block->GetNamedPin("RST");
    if (clocked && useRst)
        ConnectPort(data, block, "RST", "RST_IN", portRst, 0);
    else if (rst)
        rst->SetIsGrounded(true);
}

}  // namespace DspMult

// Tie-off patterns of pins ("4'b10x0"): a block with one pin that carries the
// fuzzed text as its "OLM_PIN_TIE" attribute is saved into the engine through
// the bridge, which turns the pattern into VCC and ground ties.
//
// The first input byte chooses the pin's width (1 to 64 bits) and whether it
// is active; the rest is the pattern.

#include "FuzzBridge.h"

#include "model/Olm_Block.h"
#include "model/Olm_Pin.h"
#include "model/Olm_WizData.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzBridge bridge("dsp_mult", "korvo5");
    static const Olm_WizData empty(bridge.Loaded().GetWizType());
    if (size < 1) return 0;
    bridge.Reset(empty);

    // Attribute values are zero-terminated texts: the pattern stops at a zero byte.
    const std::string pattern(reinterpret_cast<const char*>(data + 1), size - 1);
    Olm_Block* block = bridge.Data().AddBlock("B", "DSP");
    Olm_Pin* pin = block->AddPin("D", "IN");
    pin->SetWidth((data[0] & 0x3f) + 1);
    pin->SetIsActive((data[0] & 0x40) != 0);
    pin->AddAttribute("OLM_PIN_TIE", pattern.c_str());

    if (!bridge.Bridge().SaveWizDataToEngine()) __builtin_trap();  // every name written exists

    // Whatever the pattern, the pin is tied to at most one of VCC, ground and a signal.
    const Olm_Pin* saved = block->GetNamedPin("D");
    if (!saved) __builtin_trap();
    const int ties = (saved->IsVcc() ? 1 : 0) + (saved->IsGrounded() ? 1 : 0) + (saved->GetSigName().IsEmpty() ? 0 : 1);
    if (ties > 1) __builtin_trap();
    return 0;
}

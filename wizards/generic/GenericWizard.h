#pragma once

#include "OlmKit.h"

namespace Generic {

// A wizard for the installed data of any wizard type, with no code of its
// own per data file: one page per primitive type of the data, with a bound
// field for every modifiable attribute (default, choices and range from the
// data), the number of instances of the block, and a port name for every
// used pin that the data connects to a net.
//
// Instance 1 of a type is the data's block itself; instances 2 and up are
// copies named <TYPE>_INST<n>, whose nets and ports are the first
// instance's names with "_<n>" added. Where the data connects pins of
// several block types to one net, a used type after the first gets a net and
// port of its own, named with "_<TYPE>" added (LOCKED_OUT_TKL_SP), when its
// pin drives a net that an earlier type drives too, or has another width
// than the net an earlier type sized: no net has two drivers, and no pin
// drops bits of its net. The number of instances is the wizard-only attribute
// OLMW_ONLY_INST_COUNT of the type's block: 1 by default, 0 leaves the block
// out, and at most the top of the data's OLMW_ONLY_INST_NUM range (1 when
// the data has none).
class GenericWizard : public Olm_KitMain {
public:
    GenericWizard(const std::string& wizType, bool batchMode);

    void DeclareFromData(Olm_WizData& installed) override;
    bool Apply() override;
    std::vector<std::string> FeatureLines() override;

    static constexpr const char* kCount = "OLMW_ONLY_INST_COUNT";
};

}  // namespace Generic

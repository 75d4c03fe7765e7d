#pragma once

#include "OlmKit.h"

namespace Generic {

// A wizard for the installed data of any wizard type, with no code of its
// own per data file: one page per primitive type of the data, with a bound
// field for every modifiable attribute (default, choices and range from the
// data; label, unit and help from the data's label lines,
// Olm_AttributeLabels), the number of instances of the block, and a port
// name for every used pin that the data connects to a net. A wizard-only
// frequency that the device bounds (OLMW_ONLY_<NODE>_FREQ that the data
// makes unmodifiable, or whose node is no pin of the block: PFD, VCO,
// FABRIC) is no setting: the page shows its range read-only, under the
// data's label and unit, and neither checks nor writes it. A pin on a net
// the data keeps inside the design (External: FALSE) between a driving and a
// reading pin of its own (IDLY.O to ISER.D) stays on that net and becomes no
// port.
//
// The summary has a line per used type with the settings that differ from
// the data's defaults, labelled as on the pages. The constraint template
// gives the period of every clock input whose frequency follows from the
// settings: a clock-manager input from its period attribute (CLKIN:
// INCLK_PERIOD), a reference clock from its frequency, and the fast and word
// clocks of a serializer from its bit rate, data rate and ratio (the same
// computation as the source-synchronous wizards'); other clocks get a line
// to fill in.
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
    void AddConstraints(Olm_ConstraintTemplate& pkx) override;

    static constexpr const char* kCount = "OLMW_ONLY_INST_COUNT";

    // The text in front of an attribute's field: the data's label and unit,
    // else the name made readable ("OLMW_ONLY_LANE_COUNT": "Lane count:").
    static std::string FieldLabel(const Olm_AttributeLabels& labels, const std::string& primType,
                                  const std::string& attribute);

private:
    // The period (ns) of the clock on an input pin of a block, from the
    // block's settings; 0 when they do not give it.
    double ClockPeriodNs(Olm_Block& block, const std::string& pin);

    Olm_AttributeLabels m_labels;
};

}  // namespace Generic

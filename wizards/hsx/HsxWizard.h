#pragma once

#include "HsxRateSolver.h"

#include "OlmKit.h"

#include <memory>
#include <string>
#include <vector>

namespace Hsx {

// The transceiver wizard (type hsx): one or more lanes of a transceiver, on
// olm_hsx11.dev (the two HSX11 lanes) for the family korvo4 and on
// olm_hsx.dev (HSX3 or HSX10) for every other family. Pages: lanes, line
// rate, data path, clock compensation (with 8b/10b decoding only), lane
// bonding (with several lanes only), loopback, buffers; then the summary.
//
// Every request is a block attribute of the first lane, so an option file
// sets it with BlockProp; HSX_DISPLAY_NAME chooses the transceiver or lane as
// the option-file reader does it, the wizard's own requests are in the data
// files beside the limits of the lane's PLL (OLMW_ONLY_LANE_COUNT, _LANE<k>_LOC,
// _BOND_LANES, _BOND_MASTER). The first lane's settings serve every lane.
//
// The design: one block per lane. A transceiver with one installed block
// (HSX3, HSX10) gets numbered copies of it, <type>_LANE<k> with
// OLMW_ONLY_INST_NUM k+1, and with several lanes each lane's nets and ports
// end in _<k>; the HSX11 lanes are the installed blocks. The wizard works out
// the PLL's multiplier and dividers (RateSolver), sizes the data pins to the
// data widths, ties the control-character pins when there is no 8b/10b
// coding, and feeds each lane's FABCLK2 inputs from its FABCLK ports.
class HsxWizard : public Olm_KitMain {
public:
    explicit HsxWizard(bool batchMode);
    ~HsxWizard() override;

    // The installed blocks of the lanes the values choose, one per lane (a
    // transceiver of one installed block serves every lane); count lanes of
    // the transceiver or lane named display.
    std::vector<Olm_Block*> RefLanes(const std::string& display, int count) const;
    std::vector<Olm_Block*> RefLanes(const Olm_FieldValues& values) const;
    // The most lanes the installed data offers for the chosen transceiver.
    int MaxLanes(const Olm_FieldValues& values) const;
    // HSX11: the lane is a choice only while one lane is used.
    bool ChoosesLane(const Olm_FieldValues& values) const;
    // What the installed data gives the chosen transceiver.
    PllLimits Limits(const Olm_FieldValues& values) const;
    // The lengths of a clock-compensation sequence the chosen transceiver
    // takes (the choices of CLK_COMP_SEQ_LEN).
    std::vector<int> SequenceLengths(const Olm_FieldValues& values) const;
    RateResult SolveRate(const Olm_FieldValues& values) const;
    // The fabric clocks of both directions; false with the reason when
    // either lies outside the fabric-clock range.
    bool FabricClocks(const Olm_FieldValues& values, double& tx, double& rx, std::string& why) const;
    // The site rules of the lane page's site fields for these values.
    void UpdateSiteRules(const Olm_FieldValues& values);
    // After the lane page: uses the lanes its values chose, and binds the
    // pages to that transceiver; the lane page's values move along.
    void UseChosenLanes();

    bool InitWizard() override;
    bool Prepare() override;
    bool Apply() override;
    std::vector<std::string> FeatureLines() override;
    void AddConstraints(Olm_ConstraintTemplate& pkx) override;

private:
    Olm_Block* RefBlockOf(Olm_Block* block) const;
    bool OneBlockType(const std::string& primType) const;
    // Switches on the first lane's block of the lanes (and the installed
    // lanes after it), every other block off; the first lane's block.
    Olm_Block* ActivateLanes(const std::vector<Olm_Block*>& refs);
    // The one place that lives with the bridge's rename. When it reads a
    // design file back, the bridge updates the installed block of the
    // design's first block type and gives it the design block's name (the
    // transceiver wizard's rename of synchronisation, which stays as it is).
    // With the HSX11 lanes, which share a type, that block can be the other
    // lane's: this moves its values to the block of that name and gives it
    // back its installed name, and gives every block the display name the
    // installed data has for it. InitWizard calls it first; nothing else in
    // the wizard knows of the rename.
    void RestoreLaneBlocks();
    void SetUpLane(Olm_Block& lane, Olm_Block& ref, int index, int count, const RateResult& pll);
    std::string PortOf(Olm_Block& lane, const char* pin) const;

    std::unique_ptr<Olm_WizData> m_ref;  // the installed data as it is
    std::string m_primType;
    Olm_KitPage* m_lanePage = nullptr;
    std::vector<Olm_Block*> m_lanes;  // in the container, after Apply
};

// The sequence of clock-compensation characters ("K28.5 D21.5"): empty when
// it is count valid 8b/10b characters, else why not.
std::string SequenceProblem(const std::string& sequence, const std::vector<int>& lengths);
// The characters of a clock-compensation sequence, separated by blanks.
std::vector<std::string> SequenceCharacters(const std::string& sequence);

}  // namespace Hsx

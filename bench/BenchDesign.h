#pragma once

// A generated design of a chosen number of blocks, set up the way a wizard
// meets it: an installed data file of that many blocks (8 pins, half of them
// connected to a signal of their own, and 10 attributes each) read into a
// container through the bridge, and the design file the bridge saves of it.

#include "BenchSupport.h"

#include <string>

namespace olmbench {

class BenchDesign {
public:
    static constexpr int kPinsPerBlock = 8;
    static constexpr int kConnectedPins = 4;
    static constexpr int kAttributesPerBlock = 10;
    static constexpr const char* kWizType = "dsp_bench";
    static constexpr const char* kFamily = "korvo5";

    // Writes the data file, loads the container and saves the design file;
    // throws when any step fails or the design is not the one asked for.
    explicit BenchDesign(int blocks);
    BenchDesign(const BenchDesign&) = delete;
    BenchDesign& operator=(const BenchDesign&) = delete;

    int Blocks() const { return m_blocks; }
    // The design file (KFZ) of the whole design.
    const std::string& KfzPath() const { return m_kfzPath; }
    // Points OLMW_DATA_DIR at this design's data file, where the bridge
    // looks for the installed data; each benchmark calls it for its design.
    void UseDataDir() const;

    // The text of the installed data file for that many blocks.
    static std::string DataFileText(int blocks);

private:
    int m_blocks;
    TempDir m_dir{"olm_design_bench"};
    std::string m_kfzPath;
};

}  // namespace olmbench

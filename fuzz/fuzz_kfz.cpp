// The engine's design-file loader on arbitrary file contents. A design that
// loads is saved and loaded again, which must give the same file (the text
// of a loaded design survives a save unchanged); then the bridges of the
// clock-manager, transceiver and multiplier wizards lay it over their
// installed data and save the result into a fresh design.

#include "FuzzBridge.h"
#include "FuzzDesignCheck.h"
#include "FuzzScratchFile.h"

#include "engine/Olm_Engine.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FuzzBridge::QuietEnvironment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzScratchFile input(".kfz");
    static FuzzScratchFile saved(".kfz");
    static FuzzBridge bridges[] = {{"tkl_pll", "korvo5"}, {"hsx", "korvo5"}, {"dsp_mult", "korvo5"}};
    input.Write(data, size);

    Olm_Engine engine;
    Pal::String error;
    if (!engine.Load(input.Path().c_str(), &error)) return 0;
    if (!error.IsEmpty()) __builtin_trap();  // a load that succeeds reports no problem

    // What the file held is valid UTF-8 (the JSON parser checks that), so the
    // design must save.
    if (!FuzzDesignCheck::SaveLoadSave(engine, saved)) __builtin_trap();

    for (FuzzBridge& bridge : bridges) {
        bridge.Reset();
        if (!bridge.Engine().Load(input.Path().c_str(), &error)) __builtin_trap();
        bridge.Bridge().SyncWizDataWithKFZ();
        bridge.Engine().NewDesign();
        bridge.Bridge().SaveWizDataToEngine();
    }
    return 0;
}

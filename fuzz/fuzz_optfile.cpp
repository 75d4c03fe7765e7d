// The option-file reader through a batch-mode, silent bridge over the
// installed clock-manager data; the container it changed is then saved into
// the engine, as a batch run does.

#include "FuzzBridge.h"
#include "FuzzScratchFile.h"

#include "pal/String.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzBridge bridge("tkl_pll", "korvo5");
    static FuzzScratchFile file(".opt");
    bridge.Reset();
    file.Write(data, size);

    Pal::String path(file.Path());
    bridge.Bridge().ReadOptFile(path);
    bridge.Bridge().SaveWizDataToEngine();
    return 0;
}

// Random command sequences for the design-file engine. The input is decoded
// into commands: a command word, a subject and up to four more arguments,
// each a null pointer, a word of a small pool (names of blocks, pins and
// signals, reserved keys, directions, values) or text taken from the input.
// The design built is then saved and loaded again, which must keep it, and
// the clock-manager wizard's bridge lays it over its installed data.

#include "FuzzBridge.h"
#include "FuzzDesignCheck.h"
#include "FuzzScratchFile.h"

#include "engine/Olm_Engine.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

constexpr const char* kCommands[] = {"get", "getfirst", "getnext", "set", "add", "connect", "remove"};

constexpr const char* kSubjects[] = {
    "kfzVersion", "family", "block", "primtype", "blkprop", "pin", "pindir", "signal", "pinprop", "sigprop",
    "pinwidth", "vccpin", "gndpin", "hasbus", "externalsig", "bus", "gndsig", "vccsig", "BLOCK", ""};

// Names that recur, so that commands meet what earlier commands made; the
// clock-manager names also meet the installed data in the bridge.
constexpr const char* kWords[] = {
    "B", "b", "C", "RKO_ADV", "TKL_ADV", "KDIV", "P", "p", "Q", "CLKIN", "RST", "S", "s", "T", "clk",
    "input", "output", "bidir", "IN", "1", "0", "-1", "8", "2147483647", "-2147483648", "99999999999",
    "[7:0]", "[0:0]", "TRUE", "FALSE", "", " ", "PRIMTYPE", "primtype", "PINWIDTH", "PINHASBUS", "PINISVCC",
    "PINISGNDED", "SIGEXTERNAL", "SIGISBUS", "SIGISGNDED", "SIGISVCC", "PROP_PINISACTIVE", "PROP_HSX3",
    "PROP_DATAWIDTH", "HSX_DISPLAY_NAME", "OLM_PIN_TIE", "4'b10x0", "VCCa", "GNDa", "\xff\xfe"};

constexpr int kMaxCommands = 256;

const char* Argument(FuzzedDataProvider& input, std::string& storage) {
    switch (input.ConsumeIntegralInRange<int>(0, 3)) {
    case 0: return nullptr;
    case 1:
        storage = input.ConsumeRandomLengthString(64);
        return storage.c_str();
    default: return input.PickValueInArray(kWords);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzBridge bridge("tkl_pll", "korvo5");
    static FuzzScratchFile saved(".kfz");
    bridge.Reset();
    Olm_Engine& engine = bridge.Engine();

    FuzzedDataProvider input(data, size);
    for (int n = 0; n < kMaxCommands && input.remaining_bytes() > 0; ++n) {
        const char* cmd = input.PickValueInArray(kCommands);
        const char* subject = input.PickValueInArray(kSubjects);
        std::array<std::string, 4> storage;
        std::array<const char*, 4> args{};
        for (std::size_t i = 0; i < args.size(); ++i) args[i] = Argument(input, storage[i]);
        const Pal::String result = engine.Execute(cmd, subject, args[0], args[1], args[2], args[3]);
        // Every write answers TRUE or FALSE.
        const bool write = cmd[0] == 's' || cmd[0] == 'a' || cmd[0] == 'c';
        if (write && result != "TRUE" && result != "FALSE") __builtin_trap();
    }

    // A design that saves must load again unchanged: no command may build a
    // design that its own file format refuses.
    FuzzDesignCheck::SaveLoadSave(engine, saved);

    bridge.Bridge().SyncWizDataWithKFZ();
    return 0;
}

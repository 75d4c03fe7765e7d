// Width texts of pins ("8", "[7:0]", and everything else): the parser, then
// the bracket text the bridge writes for the pin, which must read back to the
// same bits, and the pin's dump line.

#include "FuzzBridge.h"

#include "model/Olm_Pin.h"
#include "pal/Stream.h"
#include "pal/String.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FuzzBridge::QuietEnvironment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The parser takes zero-terminated text: an input stops at its first zero byte.
    const std::string text(reinterpret_cast<const char*>(data), size);

    Olm_Pin pin("P", "IN");
    Olm_Pin::SetPinWidthData(&pin, text.c_str());
    const int width = pin.GetWidth();
    if (width < 1) __builtin_trap();

    // What SaveWizDataToEngine writes and SyncWizDataWithKFZ reads back.
    Pal::String written;
    written.Format("[%d:%d]", pin.GetStartBit(), pin.GetEndBit());
    Olm_Pin reread("P", "IN");
    if (!Olm_Pin::SetPinWidthData(&reread, written.c_str()) || reread.GetStartBit() != pin.GetStartBit() ||
        reread.GetEndBit() != pin.GetEndBit()) {
        std::fprintf(stderr, "width text %s does not read back\n", written.c_str());
        __builtin_trap();
    }

    Olm_Pin sized("P", "IN");
    sized.SetWidth(width);
    if (sized.GetWidth() != width) __builtin_trap();

    Pal::MemoryStream dump;
    pin.DumpToFile(&dump, true);
    return 0;
}

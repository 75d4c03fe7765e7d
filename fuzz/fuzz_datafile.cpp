// The data-file reader on arbitrary file contents: the reader, then a copy
// and a full dump of whatever it built, so that half-read sections are
// exercised as well.

#include "FuzzBridge.h"
#include "FuzzScratchFile.h"

#include "datafiles/Olm_DataFileReader.h"
#include "model/Olm_WizData.h"
#include "pal/Stream.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    FuzzBridge::QuietEnvironment();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FuzzScratchFile file(".dev");
    file.Write(data, size);

    Olm_WizData wizData;
    Olm_DataFileReader reader;
    if (!reader.Open(file.Path().c_str())) __builtin_trap();
    reader.ReadFile(&wizData);

    Olm_WizData copy(wizData);
    Pal::MemoryStream dump;
    copy.DumpToFile(&dump, true);
    return 0;
}

#include "FuzzDesignCheck.h"

#include "engine/Olm_Engine.h"

#include <cstdio>

namespace FuzzDesignCheck {

bool SaveLoadSave(Olm_Engine& engine, FuzzScratchFile& file) {
    Pal::String error;
    if (!engine.Save(file.Path().c_str(), &error)) return false;
    const std::string first = file.Contents();
    Olm_Engine again;
    if (!again.Load(file.Path().c_str(), &error)) {
        std::fprintf(stderr, "a saved design does not load again: %s\n", error.c_str());
        __builtin_trap();
    }
    if (!again.Save(file.Path().c_str(), &error)) {
        std::fprintf(stderr, "a loaded design does not save: %s\n", error.c_str());
        __builtin_trap();
    }
    if (file.Contents() != first) {
        std::fprintf(stderr, "a design changes when saved and loaded again\n");
        __builtin_trap();
    }
    return true;
}

}  // namespace FuzzDesignCheck

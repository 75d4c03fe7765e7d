#pragma once

#include "FuzzScratchFile.h"

class Olm_Engine;

namespace FuzzDesignCheck {

// Saves the engine's design to the scratch file, loads that into a second
// engine and saves it again: the two files must be the same, so no design an
// engine holds is refused or changed by its own file format. Traps when that
// fails; returns false (nothing checked) when the first save is refused,
// which the design's text can justify (text that is not valid UTF-8).
bool SaveLoadSave(Olm_Engine& engine, FuzzScratchFile& file);

}  // namespace FuzzDesignCheck

#pragma once

#include "OlmBase.h"

#include <string>
#include <vector>

// Small operations on a wizard's model that the reference wizards share.
namespace OlmRef {

// Switches on exactly the signals that an active pin of an active block
// connects to; every other signal is switched off.
void ActivateUsedSignals(Olm_WizData* data);

// "name = value" for every attribute that the summary page lists when it shows
// only the changed ones: active, modifiable, not ignored by the translator,
// value different from the default (or named LOC), of the active blocks that
// are not internal. Each line is prefixed with the block name.
std::vector<std::string> ChangedAttributes(Olm_WizData* data);

// Reads a decimal number; false for anything else (surrounding blanks allowed).
bool ParseNumber(const std::string& text, double& value);
bool ParseInt(const std::string& text, int& value);
// A number with the given decimals, without a locale.
std::string FormatFixed(double value, int decimals);

// The block attribute value, or fallback when the block has no such attribute.
std::string AttrOr(Olm_Block* block, const char* name, const std::string& fallback);
// Sets the current value of an existing attribute (keeping its saved flag);
// adds an attribute when there is none.
void SetAttr(Olm_Block* block, const char* name, const std::string& value);
// The bounds of the first "OLMRANGE=min:max" possible value of an attribute.
bool AttrRange(Olm_Block* block, const char* name, std::string& min, std::string& max);

// The external name of the signal on a pin (its port name), or fallback.
std::string PortOf(Olm_WizData* data, Olm_Block* block, const char* pin, const std::string& fallback);
// Connects a pin to a signal that leaves the design under the port name; a
// bus width above 0 makes the signal a bus of that width.
void ConnectPort(Olm_WizData* data, Olm_Block* block, const char* pin, const char* signal, const std::string& port,
                 int busWidth = 0);

// True for "TRUE", "1", "YES" (any case).
bool IsTrueText(const std::string& text);

}  // namespace OlmRef

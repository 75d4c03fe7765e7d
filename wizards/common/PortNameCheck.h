#pragma once

#include <string>
#include <vector>

class Olm_WizPage;

namespace OlmRef {

// Checks a column of port names with the page's name checks: every name must
// differ from the others and from the blocks of the design, and be a legal
// port name of the HDL chosen. Reports the first problem through the page
// and returns false.
bool CheckPortNames(Olm_WizPage& page, const std::vector<std::string>& names, int hdl);

}  // namespace OlmRef

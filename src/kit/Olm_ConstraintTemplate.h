#pragma once

#include "shared/OlmBaseExport.h"

#include <string>
#include <utility>
#include <vector>

class Olm_WizData;

// The constraint template a wizard writes beside its HDL file
// (<design>_olmw.pkx): site lines for the ports, clock-period lines, and any
// sections of the wizard's own. A site or period that is not known is
// written as a commented line for the designer to fill in:
//
//   # Constraint template of the design clkgen, written by the tkl_pll wizard.
//   # Remove the '#' in front of a site line and fill in the site of the port.
//
//   # Sites of the external ports
//   # site clk_in = ?;
//   # site data[7:0] = ?;
//
//   # Clock periods
//   clock_period clk_in = 20.000 ns;
class OLM_BASE_EXPORT Olm_ConstraintTemplate {
public:
    Olm_ConstraintTemplate(std::string design, std::string wizType);

    // A site line for every active external net of the model, in model
    // order; a bus as one line with its bits [N-1:0].
    void AddPortSites(Olm_WizData& data);
    // A site line for a port or a bit of one ("data[3]"); an empty site is
    // written commented, with "?".
    void AddSite(std::string port, std::string site = {});
    // A clock-period line; a period of 0 or less is not known (commented).
    void AddClock(std::string port, double periodNs);
    // A section of the wizard's own after the clock periods, with its lines
    // as given (add the "# " of a comment where wanted).
    void AddSection(std::string title, std::vector<std::string> lines);

    std::string Text() const;

private:
    std::string m_design;
    std::string m_wizType;
    std::vector<std::string> m_sites;
    std::vector<std::string> m_clocks;
    std::vector<std::pair<std::string, std::vector<std::string>>> m_sections;
};

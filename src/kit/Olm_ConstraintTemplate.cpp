#include "kit/Olm_ConstraintTemplate.h"

#include "model/Olm_Signal.h"
#include "model/Olm_WizData.h"

#include <cstdio>

Olm_ConstraintTemplate::Olm_ConstraintTemplate(std::string design, std::string wizType)
    : m_design(std::move(design)), m_wizType(std::move(wizType)) {}

void Olm_ConstraintTemplate::AddPortSites(Olm_WizData& data) {
    for (const Olm_Signal* signal : data.GetSigList()) {
        if (!signal || !signal->IsActive() || !signal->IsExternal()) continue;
        std::string port = signal->GetDirection().str();
        if (signal->IsBus()) port += "[" + std::to_string(signal->GetWidth() - 1) + ":0]";
        AddSite(std::move(port));
    }
}

void Olm_ConstraintTemplate::AddSite(std::string port, std::string site) {
    m_sites.push_back(site.empty() ? "# site " + port + " = ?;" : "site " + port + " = " + site + ";");
}

void Olm_ConstraintTemplate::AddClock(std::string port, double periodNs) {
    if (!(periodNs > 0.0)) {
        m_clocks.push_back("# clock_period " + port + " = ? ns;");
        return;
    }
    char period[64];
    std::snprintf(period, sizeof period, "%.3f", periodNs);
    m_clocks.push_back("clock_period " + port + " = " + period + " ns;");
}

void Olm_ConstraintTemplate::AddSection(std::string title, std::vector<std::string> lines) {
    m_sections.emplace_back(std::move(title), std::move(lines));
}

std::string Olm_ConstraintTemplate::Text() const {
    std::string out = "# Constraint template of the design " + m_design + ", written by the " + m_wizType +
                      " wizard.\n# Remove the '#' in front of a site line and fill in the site of the port.\n";
    const auto section = [&out](const std::string& title, const std::vector<std::string>& lines) {
        out += "\n# " + title + "\n";
        for (const std::string& line : lines) out += line + "\n";
    };
    section("Sites of the external ports", m_sites);
    section("Clock periods", m_clocks);
    for (const auto& [title, lines] : m_sections) section(title, lines);
    return out;
}

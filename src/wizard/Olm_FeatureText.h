#pragma once

#include <string>
#include <utility>
#include <vector>

// What a wizard says it configured: the feature pane of the summary page and
// the features of a run report. A wizard of the clock-manager family asks
// for the summary page's own clock-manager sentence in front of its lines;
// a wizard of any other family shows its lines alone, never that sentence.
class Olm_FeatureText {
public:
    Olm_FeatureText() = default;
    explicit Olm_FeatureText(std::vector<std::string> lines, bool clockManager = false)
        : m_lines(std::move(lines)), m_clockManager(clockManager) {}

    // The wizard's own lines, one feature each, in order.
    const std::vector<std::string>& Lines() const { return m_lines; }
    void AddLine(std::string line) { m_lines.push_back(std::move(line)); }
    // True when the clock-manager sentence of the summary page
    // (Olm_SummaryGui::ClockManagerFeatures) comes first.
    bool HasClockManagerText() const { return m_clockManager; }
    void SetClockManagerText(bool on) { m_clockManager = on; }

private:
    std::vector<std::string> m_lines;
    bool m_clockManager = false;
};

#pragma once

#include "pal/MsgMan.h"

#include <string>
#include <vector>

namespace olmwiz {

// While it lives, every report of the message manager goes to standard error,
// one report per line (a report without a final line end gets one) with its
// control characters escaped (Printable), and is counted.
class StderrReports {
public:
    StderrReports();
    ~StderrReports();
    StderrReports(const StderrReports&) = delete;
    StderrReports& operator=(const StderrReports&) = delete;

    int Count() const { return m_count; }
    // Whether a report of this text (trailing line ends aside) went to
    // standard error.
    bool Reported(std::string text) const;

    // The text with every control character but line feed and tab written as
    // \xHH: messages quote lines of malformed input files, whose bytes must
    // not reach the terminal as commands.
    static std::string Printable(const std::string& text);

private:
    Pal::MsgMan::Handler m_previous;
    int m_count = 0;
    std::vector<std::string> m_texts;  // each report, without trailing line ends
};

}  // namespace olmwiz

#pragma once

#include "pal/MsgMan.h"

namespace olmwiz {

// While it lives, every report of the message manager goes to standard error,
// one report per line (a report without a final line end gets one), and is
// counted.
class StderrReports {
public:
    StderrReports();
    ~StderrReports();
    StderrReports(const StderrReports&) = delete;
    StderrReports& operator=(const StderrReports&) = delete;

    int Count() const { return m_count; }

private:
    Pal::MsgMan::Handler m_previous;
    int m_count = 0;
};

}  // namespace olmwiz

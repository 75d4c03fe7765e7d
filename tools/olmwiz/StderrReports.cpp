#include "StderrReports.h"

#include <cstdio>

namespace olmwiz {

StderrReports::StderrReports() {
    m_previous = Pal::MsgMan::setHandler([this](const Pal::MsgMan::Report& report) {
        ++m_count;
        const Pal::String& text = report.text;
        std::fputs(text.c_str(), stderr);
        if (text.IsEmpty() || text.c_str()[text.GetLength() - 1] != '\n') std::fputc('\n', stderr);
    });
}

StderrReports::~StderrReports() { Pal::MsgMan::setHandler(std::move(m_previous)); }

}  // namespace olmwiz

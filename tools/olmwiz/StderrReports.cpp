#include "StderrReports.h"

#include <cstdio>

namespace olmwiz {

StderrReports::StderrReports() {
    m_previous = Pal::MsgMan::setHandler([this](const Pal::MsgMan::Report& report) {
        ++m_count;
        std::string raw = report.text.str();
        while (!raw.empty() && raw.back() == '\n') raw.pop_back();
        m_texts.push_back(std::move(raw));
        const std::string text = Printable(report.text.str());
        std::fputs(text.c_str(), stderr);
        if (text.empty() || text.back() != '\n') std::fputc('\n', stderr);
    });
}

std::string StderrReports::Printable(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\n' && c != '\t') || byte == 0x7f) {
            constexpr const char* kHex = "0123456789ABCDEF";
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xf];
        } else {
            out += c;
        }
    }
    return out;
}

bool StderrReports::Reported(std::string text) const {
    while (!text.empty() && text.back() == '\n') text.pop_back();
    for (const std::string& reported : m_texts)
        if (reported == text) return true;
    return false;
}

StderrReports::~StderrReports() { Pal::MsgMan::setHandler(std::move(m_previous)); }

}  // namespace olmwiz

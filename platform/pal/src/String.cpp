#include "pal/String.h"

#include "pal/Stream.h"
#include "pal/StrUtil.h"

#include <algorithm>
#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace Pal {

namespace {

unsigned char Fold(unsigned char c) { return static_cast<unsigned char>(StrUtil::FoldCase(static_cast<char>(c))); }

}  // namespace

String::String(const char* text) : m_text(text ? text : "") {}

String::String(const char* text, std::size_t length) : m_text(text ? std::string(text, length) : std::string()) {}

String::String(const std::string& text) : m_text(text) {}

String& String::operator=(const char* text) {
    m_text = text ? text : "";
    return *this;
}

String& String::operator+=(const String& other) {
    m_text += other.m_text;
    return *this;
}

String& String::operator+=(const char* text) {
    if (text) m_text += text;
    return *this;
}

String& String::Format(const char* fmt, ...) {
    if (!fmt) {
        m_text.clear();
        return *this;
    }
    va_list args;
    va_start(args, fmt);
    va_list copy;
    va_copy(copy, args);
    const int needed = std::vsnprintf(nullptr, 0, fmt, copy);
    va_end(copy);
    std::string out;
    if (needed > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(needed) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), fmt, args);
        out.assign(buffer.data(), static_cast<std::size_t>(needed));
    }
    va_end(args);
    m_text = std::move(out);
    return *this;
}

int String::Compare(const String& other, int mode) const {
    if (mode == kExact) return std::strcmp(m_text.c_str(), other.m_text.c_str());
    const auto* a = reinterpret_cast<const unsigned char*>(m_text.c_str());
    const auto* b = reinterpret_cast<const unsigned char*>(other.m_text.c_str());
    for (;; ++a, ++b) {
        const int d = static_cast<int>(Fold(*a)) - static_cast<int>(Fold(*b));
        if (d != 0 || *a == 0) return d;
    }
}

unsigned String::GetIndexOfString(const char* text, int mode) const {
    if (!text) return kNotFound;
    const std::size_t n = std::strlen(text);
    if (n > m_text.size()) return kNotFound;
    if (mode == kExact) {
        const std::size_t pos = m_text.find(text);
        return pos == std::string::npos ? kNotFound : static_cast<unsigned>(pos);
    }
    for (std::size_t i = 0; i + n <= m_text.size(); ++i) {
        std::size_t k = 0;
        while (k < n && Fold(static_cast<unsigned char>(m_text[i + k])) == Fold(static_cast<unsigned char>(text[k]))) ++k;
        if (k == n) return static_cast<unsigned>(i);
    }
    return kNotFound;
}

String& String::Trim(const char* chars, int type) {
    if (!chars || !*chars) return *this;
    if (type == kTrimTrailing || type == kTrimBoth) {
        const std::size_t last = m_text.find_last_not_of(chars);
        m_text.erase(last == std::string::npos ? 0 : last + 1);
    }
    if (type == kTrimLeading || type == kTrimBoth) {
        const std::size_t first = m_text.find_first_not_of(chars);
        m_text.erase(0, first == std::string::npos ? m_text.size() : first);
    }
    return *this;
}

String& String::MakeUpper() {
    std::transform(m_text.begin(), m_text.end(), m_text.begin(), StrUtil::FoldCase);
    return *this;
}

String& String::Truncate(unsigned n) {
    if (n < m_text.size()) m_text.erase(n);
    return *this;
}

String& String::Remove(Range range) {
    if (range.first < m_text.size()) m_text.erase(range.first, range.count);
    return *this;
}

bool String::ReadLine(Stream* stream) {
    m_text.clear();
    if (!stream) return false;
    if (!stream->ReadLine(m_text)) return false;
    if (!m_text.empty() && m_text.back() == '\n') m_text.pop_back();
    if (!m_text.empty() && m_text.back() == '\r') m_text.pop_back();
    return true;
}

}  // namespace Pal

#pragma once

// A test engine that records every command the bridge sends and can answer
// chosen commands with scripted replies or fail chosen writes. Commands
// without a script go to the real engine underneath, so a design can be built
// and read back through it.

#include "engine/Olm_Engine.h"
#include "model/Olm_WizData.h"
#include "pal/Stream.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace kfztest {

class ScriptedEngine : public Olm_Engine {
public:
    // Every command, its arguments up to the first null joined by blanks.
    std::vector<std::string> log;
    // Replies to exact command lines.
    std::map<std::string, std::string> replies;
    // Writes for which this answers "FALSE".
    std::function<bool(const std::string&)> failWrite;

    Pal::String Execute(const char* cmd, const char* a1, const char* a2, const char* a3, const char* a4,
                        const char* a5) override {
        std::string line = cmd ? cmd : "(null)";
        for (const char* arg : {a1, a2, a3, a4, a5}) {
            if (!arg) break;
            line += " ";
            line += arg;
        }
        log.push_back(line);
        if (const auto it = replies.find(line); it != replies.end()) return it->second.c_str();
        if (failWrite && IsWrite(line) && failWrite(line)) return "FALSE";
        return Olm_Engine::Execute(cmd, a1, a2, a3, a4, a5);
    }

    static bool IsWrite(const std::string& line) { return line.rfind("get", 0) != 0; }

    std::vector<std::string> Writes() const {
        std::vector<std::string> writes;
        for (const auto& line : log) {
            if (IsWrite(line)) writes.push_back(line);
        }
        return writes;
    }
};

inline std::string Dump(Olm_WizData& data) {
    Pal::MemoryStream stream;
    data.DumpToFile(&stream, true);
    return stream.Text();
}

// The lines where two texts differ, each with the line before it, for readable
// failure messages; empty when the texts are equal.
inline std::string LineDiff(const std::string& expected, const std::string& actual) {
    auto split = [](const std::string& text) {
        std::vector<std::string> lines;
        std::size_t start = 0;
        while (start < text.size()) {
            const std::size_t end = text.find('\n', start);
            lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
            if (end == std::string::npos) break;
            start = end + 1;
        }
        return lines;
    };
    const auto a = split(expected);
    const auto b = split(actual);
    std::string out;
    int shown = 0;
    for (std::size_t i = 0; i < std::max(a.size(), b.size()) && shown < 10; ++i) {
        const std::string x = i < a.size() ? a[i] : "(none)";
        const std::string y = i < b.size() ? b[i] : "(none)";
        if (x == y) continue;
        out += "line " + std::to_string(i + 1) + " after [" + (i > 0 && i - 1 < a.size() ? a[i - 1] : "") +
               "]\n  expected: " + x + "\n  actual:   " + y + "\n";
        ++shown;
    }
    return out;
}

// Points the device-data library at a folder for the life of the object.
class DataDirOverride {
public:
    explicit DataDirOverride(const std::string& dir) {
        if (const char* old = std::getenv("OLMW_DATA_DIR")) {
            m_had = true;
            m_old = old;
        }
        if (dir.empty()) {
            ::unsetenv("OLMW_DATA_DIR");
        } else {
            ::setenv("OLMW_DATA_DIR", dir.c_str(), 1);
        }
    }
    ~DataDirOverride() {
        if (m_had) {
            ::setenv("OLMW_DATA_DIR", m_old.c_str(), 1);
        } else {
            ::unsetenv("OLMW_DATA_DIR");
        }
    }
    DataDirOverride(const DataDirOverride&) = delete;
    DataDirOverride& operator=(const DataDirOverride&) = delete;

private:
    bool m_had = false;
    std::string m_old;
};

}  // namespace kfztest

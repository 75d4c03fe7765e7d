#pragma once

// A test engine that records every command the bridge sends and can answer
// chosen commands with scripted replies or fail chosen writes. Commands
// without a script go to the real engine underneath, so a design can be built
// and read back through it.

#include "engine/Olm_Engine.h"
#include "model/Olm_WizData.h"
#include "pal/Stream.h"

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

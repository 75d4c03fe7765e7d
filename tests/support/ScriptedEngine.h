#pragma once

// Engine helpers of the bridge tests: a design built from a script of
// commands, and an engine that records every command it is sent and can
// answer chosen commands with scripted replies or fail chosen writes.
// Commands without a script go to the real engine underneath, so a design
// can be built and read back through it.

#include "engine/Olm_Engine.h"

#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace olmtest {

// Runs commands separated by ";", each a command and its arguments separated
// by blanks, e.g. "add block B DSP 1; set bus s 4"; each must answer "TRUE".
inline void RunScript(Olm_Engine& engine, const std::string& script) {
    std::istringstream commands(script);
    for (std::string command; std::getline(commands, command, ';');) {
        std::istringstream in(command);
        std::vector<std::string> w{std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
        if (w.empty()) continue;
        w.resize(6);
        auto arg = [&w](int i) { return w[i].empty() ? nullptr : w[i].c_str(); };
        EXPECT_EQ(engine.Execute(arg(0), arg(1), arg(2), arg(3), arg(4), arg(5)).str(), "TRUE") << command;
    }
}

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
            line += std::string(" ") + arg;
        }
        log.push_back(line);
        if (const auto it = replies.find(line); it != replies.end()) return it->second.c_str();
        if (failWrite && line.rfind("get", 0) != 0 && failWrite(line)) return "FALSE";
        return Olm_Engine::Execute(cmd, a1, a2, a3, a4, a5);
    }

    // The log as one text, commands separated by "; " (or the separator
    // given), queries left out unless asked for; the log starts afresh.
    std::string Sent(bool withQueries = false, const std::string& separator = "; ") {
        std::string text;
        for (const std::string& line : log) {
            if (withQueries || line.rfind("get", 0) != 0) text += (text.empty() ? "" : separator) + line;
        }
        log.clear();
        return text;
    }
};

}  // namespace olmtest

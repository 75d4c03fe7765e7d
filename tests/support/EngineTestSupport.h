#pragma once

// Helpers for driving an engine in tests: short command calls, a sample
// design, and a walk of the whole design through the iteration commands.

#include "engine/Olm_Engine.h"

#include <string>

namespace enginetest {

inline std::string Cmd(Olm_Engine& e, const char* cmd, const char* a1 = nullptr, const char* a2 = nullptr,
                       const char* a3 = nullptr, const char* a4 = nullptr, const char* a5 = nullptr) {
    return e.Execute(cmd, a1, a2, a3, a4, a5).str();
}

// Every block, pin, signal and property the engine reports, one per line,
// gathered with nested iterations and queries in between.
inline std::string Walk(Olm_Engine& e) {
    std::string out = "version=" + Cmd(e, "get", "kfzVersion") + " family=" + Cmd(e, "get", "family") + "\n";
    for (std::string b = Cmd(e, "getfirst", "block"); !b.empty(); b = Cmd(e, "getnext", "block")) {
        out += "block " + b + " type=" + Cmd(e, "get", "primtype", b.c_str()) + "\n";
        for (std::string p = Cmd(e, "getfirst", "blkprop", b.c_str()); !p.empty();
             p = Cmd(e, "getnext", "blkprop", b.c_str())) {
            out += "  blkprop " + p + "=" + Cmd(e, "get", "blkprop", b.c_str(), p.c_str()) + "\n";
        }
        for (std::string pin = Cmd(e, "getfirst", "pin", b.c_str()); !pin.empty();
             pin = Cmd(e, "getnext", "pin", b.c_str())) {
            out += "  pin " + pin + " dir=" + Cmd(e, "get", "pindir", pin.c_str(), b.c_str()) +
                   " signal=" + Cmd(e, "get", "signal", pin.c_str(), b.c_str()) + "\n";
            for (std::string k = Cmd(e, "getfirst", "pinprop", pin.c_str(), b.c_str()); !k.empty();
                 k = Cmd(e, "getnext", "pinprop", pin.c_str(), b.c_str())) {
                out += "    pinprop " + k + "=" + Cmd(e, "get", "pinprop", pin.c_str(), b.c_str(), k.c_str()) + "\n";
            }
        }
    }
    for (std::string s = Cmd(e, "getfirst", "signal"); !s.empty(); s = Cmd(e, "getnext", "signal")) {
        out += "signal " + s + "\n";
        for (std::string k = Cmd(e, "getfirst", "sigprop", s.c_str()); !k.empty();
             k = Cmd(e, "getnext", "sigprop", s.c_str())) {
            out += "  sigprop " + k + "=" + Cmd(e, "get", "sigprop", s.c_str(), k.c_str()) + "\n";
        }
    }
    return out;
}

// Two blocks, pins with every pin setting, signals with every signal setting.
inline void BuildSample(Olm_Engine& e) {
    e.SetFamily("korvo5");
    Cmd(e, "set", "kfzVersion", "2.1");
    Cmd(e, "add", "block", "B1", "TKL_ADV", "1");
    Cmd(e, "add", "blkprop", "B1", "DIVIDE", "4");
    Cmd(e, "add", "blkprop", "B1", "ALPHA", "x");
    Cmd(e, "add", "pin", "input", "CLKIN", "B1");
    Cmd(e, "set", "pinwidth", "CLKIN", "B1", "[0:0]");
    Cmd(e, "connect", "signal", "clk", "CLKIN", "B1");
    Cmd(e, "add", "pinprop", "CLKIN", "B1", "PROP_PINISACTIVE", "TRUE");
    Cmd(e, "add", "pin", "output", "DATA", "B1");
    Cmd(e, "set", "pinwidth", "DATA", "B1", "[7:0]");
    Cmd(e, "set", "hasbus", "DATA", "B1");
    Cmd(e, "set", "gndpin", "DATA", "B1");
    Cmd(e, "add", "block", "B2", "KDIV", "1");
    Cmd(e, "add", "pin", "bidir", "IO", "B2");
    Cmd(e, "set", "vccpin", "IO", "B2");
    Cmd(e, "add", "signal", "clk");
    Cmd(e, "set", "externalsig", "clk", "clk_in");
    Cmd(e, "set", "bus", "clk", "8");
    Cmd(e, "add", "sigprop", "clk", "LOC", "A1");
    Cmd(e, "add", "signal", "gnd");
    Cmd(e, "set", "gndsig", "gnd");
    Cmd(e, "set", "vccsig", "gnd");
}

}  // namespace enginetest

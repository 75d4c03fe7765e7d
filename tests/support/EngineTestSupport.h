#pragma once

// Helpers for driving a design-file engine in tests: short command calls, a
// sample design, and a walk of the whole design through the iteration
// commands.

#include "engine/Olm_Engine.h"

#include <string>

namespace enginetest {

// One engine command; the arguments not given are null.
template <typename... Args>
std::string Cmd(Olm_Engine& e, const char* cmd, const Args&... args) {
    static_assert(sizeof...(Args) <= 5, "the engine takes five arguments");
    const std::string given[] = {std::string(args)..., ""};
    const char* a[5] = {};
    for (std::size_t i = 0; i < sizeof...(Args); ++i) a[i] = given[i].c_str();
    return e.Execute(cmd, a[0], a[1], a[2], a[3], a[4]).str();
}

// Calls each(name) for every name an iteration of the kind answers.
template <typename Each, typename... Owners>
void ForEach(Olm_Engine& e, const char* kind, Each each, const Owners&... owners) {
    for (std::string n = Cmd(e, "getfirst", kind, owners...); !n.empty(); n = Cmd(e, "getnext", kind, owners...))
        each(n);
}

// Every block, pin, signal and property the engine reports, one per line,
// gathered with nested iterations and queries in between.
inline std::string Walk(Olm_Engine& e) {
    std::string out = "version=" + Cmd(e, "get", "kfzVersion") + " family=" + Cmd(e, "get", "family") + "\n";
    ForEach(e, "block", [&](const std::string& b) {
        out += "block " + b + " type=" + Cmd(e, "get", "primtype", b) + "\n";
        ForEach(e, "blkprop", [&](const std::string& p) {
            out += "  blkprop " + p + "=" + Cmd(e, "get", "blkprop", b, p) + "\n";
        }, b);
        ForEach(e, "pin", [&](const std::string& pin) {
            out += "  pin " + pin + " dir=" + Cmd(e, "get", "pindir", pin, b) + " signal=" +
                   Cmd(e, "get", "signal", pin, b) + "\n";
            ForEach(e, "pinprop", [&](const std::string& k) {
                out += "    pinprop " + k + "=" + Cmd(e, "get", "pinprop", pin, b, k) + "\n";
            }, pin, b);
        }, b);
    });
    ForEach(e, "signal", [&](const std::string& s) {
        out += "signal " + s + "\n";
        ForEach(e, "sigprop", [&](const std::string& k) {
            out += "  sigprop " + k + "=" + Cmd(e, "get", "sigprop", s, k) + "\n";
        }, s);
    });
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

// A design of `blocks` blocks, each with a property TAG=tag and four bus
// pins, each pin active and on a signal of its own.
inline void BuildBlocks(Olm_Engine& e, int blocks, const std::string& tag) {
    e.SetFamily("korvo5");
    Cmd(e, "set", "kfzVersion", "2.1");
    for (int b = 0; b < blocks; ++b) {
        const std::string name = "B" + std::to_string(b);
        Cmd(e, "add", "block", name, "TKL_ADV", "1");
        Cmd(e, "add", "blkprop", name, "TAG", tag);
        for (const std::string pin : {"P0", "P1", "P2", "P3"}) {
            Cmd(e, "add", "pin", "input", pin, name);
            Cmd(e, "set", "pinwidth", pin, name, "[7:0]");
            Cmd(e, "connect", "signal", name + "_s" + pin, pin, name);
            Cmd(e, "add", "pinprop", pin, name, "PROP_PINISACTIVE", "TRUE");
        }
    }
}

}  // namespace enginetest

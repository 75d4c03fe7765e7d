#include "proof/Olm_TbClockBench.h"

#include "proof/Olm_TbDesign.h"
#include "proof/Olm_TbText.h"

#include "pal/StrUtil.h"

#include <cmath>
#include <cstdio>
#include <numeric>
#include <vector>

namespace {

constexpr int kPeriods = 16;        // output periods measured
constexpr int kResetCycles = 10;    // input cycles in reset
constexpr int kLockBudget = 5000;   // input cycles the loops may take to lock
constexpr double kPeriodTolPs = 2.0;
constexpr double kPeriodTolRel = 1e-5;

struct Output {
    int n = 0;
    std::string port;
    double periodPs = 0.0;  // achieved
    double dutyTol = 0.0, phaseTolPs = 0.0, phasePs = 0.0, modulusPs = 0.0;
    double duty = 0.5, phaseDeg = 0.0;
    double requestMHz = 0.0;  // 0: none
    double ppm = 0.0;
};

struct Loop {
    std::string name, input, reset, locked;
    std::pair<std::string, std::string> feedback;  // input port, output port
    double inputPs = 0.0;
    std::vector<Output> outputs;
};

bool Integer(double value) { return value >= 1.0 && value < 1e6 && std::floor(value) == value; }

// The loop of one instance; false with error when its settings make no sense.
bool LoopOf(const Olm_TbDesign& design, const Olm_HdlInstance& pll, bool advanced, Loop& loop, std::string& error) {
    loop.name = pll.name;
    loop.input = design.PortOf(pll, advanced ? "CLKIN1" : "CLKIN");
    loop.reset = design.PortOf(pll, "RST");
    loop.locked = design.PortOf(pll, "LOCKED");
    double periodNs = design.Number(pll, advanced ? "INCLK1_PERIOD" : "INCLK_PERIOD", 0.0);
    if (periodNs <= 0.0) {
        const double mhz = design.Number(pll, advanced ? "OLMW_ONLY_CLKIN1_FREQ" : "OLMW_ONLY_CLKIN_FREQ", 0.0);
        if (mhz > 0.0) periodNs = 1000.0 / mhz;
    }
    const double d = design.Number(pll, "REFCLK_DIV", 1.0);
    const double m = design.Number(pll, advanced ? "CLKFBOUT_MULT" : "FBCLKOUT_MULT", 0.0);
    if (!(periodNs > 0.0 && periodNs < 1e6) || !Integer(d) || !Integer(m)) {
        error = pll.name + ": the input period, input divider or feedback multiplier is missing or not usable";
        return false;
    }
    loop.inputPs = periodNs * 1000.0;
    const double vcoPs = loop.inputPs * d / m;
    const double ppm = design.Number(pll, "OLMW_ONLY_FREQ_TOLERANCE_PPM", 1000.0);
    for (int n = 0; n < 7; ++n) {
        const std::string out = "CLKOUT" + std::to_string(n);
        Output o;
        o.n = n;
        o.port = design.PortOf(pll, out);
        if (o.port.empty()) continue;
        const double divide = design.Number(pll, out + "_DIVIDE", 0.0);
        if (!Integer(divide)) {
            error = pll.name + ": " + out + " reaches port " + o.port + " but has no usable divider";
            return false;
        }
        o.periodPs = vcoPs * divide;
        o.duty = design.Number(pll, out + "_DUTY", 0.5);
        o.phaseDeg = design.Number(pll, out + "_PHASE", 0.0);
        o.dutyTol = (vcoPs / 2.0 + kPeriodTolPs) / o.periodPs;
        o.phaseTolPs = vcoPs / 8.0 + 5.0;
        // Input edges lie on a grid of Tin = m units of Tin/m, the output's on
        // one of divide * d units: they meet every gcd units.
        const long long g = std::gcd(static_cast<long long>(m), static_cast<long long>(divide * d));
        o.modulusPs = loop.inputPs / m * static_cast<double>(g);
        o.phasePs = std::fmod(o.phaseDeg / 360.0 * o.periodPs, o.modulusPs);
        if (design.Flag(pll, "OLMW_ONLY_" + out + "_USED", n == 0) || n == 0)
            o.requestMHz = design.Number(pll, "OLMW_ONLY_" + out + "_FREQ", 0.0);
        o.ppm = ppm;
        loop.outputs.push_back(o);
    }
    // Feedback through ports: the testbench closes the loop.
    const std::string feedbackIn = design.PortOf(pll, "CLKFBIN");
    const std::string feedbackOut = design.PortOf(pll, "CLKFBOUT");
    if (!feedbackIn.empty() && !feedbackOut.empty()) loop.feedback = {feedbackIn, feedbackOut};
    if (loop.input.empty()) {
        error = pll.name + ": its input clock is not on a port";
        return false;
    }
    return true;
}

std::string Num(double value) { return Olm_TbText::Real(value); }

// A number as the messages show it: no trailing zeros.
std::string Txt(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.10g", value);
    return buffer;
}

void AddVerilog(const std::vector<Loop>& loops, Olm_TbText& text) {
    std::string d = "    real tb_t_in, tb_t0, tb_tf, tb_t1, tb_period, tb_duty, tb_delta;\n    bit tb_measuring = 0;\n";
    std::string c;
    std::vector<std::string> driven;
    for (std::size_t i = 0; i < loops.size(); ++i) {
        const Loop& loop = loops[i];
        if (!loop.locked.empty()) {
            d += "    bit tb_lost" + std::to_string(i) + " = 0;\n";
            c += "    always @(negedge " + loop.locked + ") if (tb_measuring) tb_lost" + std::to_string(i) + " = 1;\n";
        }
        bool seen = false;
        for (const std::string& port : driven) seen = seen || port == loop.input;
        if (seen) continue;
        driven.push_back(loop.input);
        c += "    always #(" + Num(loop.inputPs / 2.0) + ") " + loop.input + " = ~" + loop.input + ";\n";
    }
    text.Declare(d);
    text.Concurrent(c);

    const std::string first = loops.front().input;
    std::string s = "        tb_stage = \"reset\";\n";
    for (const Loop& loop : loops)
        if (!loop.reset.empty()) s += "        " + loop.reset + " = 1'b1;\n";
    s += "        repeat (" + std::to_string(kResetCycles) + ") @(posedge " + first + ");\n";
    for (const Loop& loop : loops) {
        if (loop.reset.empty() || loop.locked.empty()) continue;
        s += "        tb_check(" + loop.locked + " === 1'b0, " +
             text.Quote(loop.locked + " is low while " + loop.reset + " is high") + ");\n";
    }
    for (const Loop& loop : loops)
        if (!loop.reset.empty()) s += "        " + loop.reset + " = 1'b0;\n";
    for (const Loop& loop : loops) {
        if (loop.locked.empty()) continue;
        s += "        tb_stage = " + text.Quote("waiting for " + loop.locked) + ";\n";
        s += "        wait (" + loop.locked + " === 1'b1);\n";
    }
    bool anyLocked = false;
    for (const Loop& loop : loops) anyLocked = anyLocked || !loop.locked.empty();
    s += "        repeat (" + std::to_string(anyLocked ? 8 : kLockBudget) + ") @(posedge " + first + ");\n";
    s += "        tb_measuring = 1;\n";
    for (const Loop& loop : loops) {
        for (const Output& o : loop.outputs) {
            const std::string p = o.port;
            s += "        tb_stage = " + text.Quote("measuring " + p) + ";\n";
            s += "        @(posedge " + loop.input + ") tb_t_in = $realtime;\n";
            s += "        @(posedge " + p + ") tb_t0 = $realtime;\n";
            s += "        @(negedge " + p + ") tb_tf = $realtime;\n";
            s += "        repeat (" + std::to_string(kPeriods) + ") @(posedge " + p + ");\n";
            s += "        tb_t1 = $realtime;\n";
            s += "        tb_period = (tb_t1 - tb_t0) / " + std::to_string(kPeriods) + ".0;\n";
            const double tol = kPeriodTolPs + kPeriodTolRel * o.periodPs;
            s += "        tb_check(tb_absr(tb_period - " + Num(o.periodPs) + ") <= " + Num(tol) +
                 ", $sformatf(\"" + p + " frequency %.6f MHz (period %.3f ps), the dividers give " +
                 Txt(1e6 / o.periodPs) + " MHz (period " + Txt(o.periodPs) + " ps +- " + Txt(tol) +
                 " ps)\", 1.0e6 / tb_period, tb_period));\n";
            if (o.requestMHz > 0.0) {
                const double req = 1e6 / o.requestMHz;
                const double rtol = req * o.ppm * 1e-6 + kPeriodTolPs;
                s += "        tb_check(tb_absr(tb_period - " + Num(req) + ") <= " + Num(rtol) + ", $sformatf(\"" + p +
                     " frequency %.6f MHz, requested " + Txt(o.requestMHz) + " MHz +- " + Txt(o.ppm) +
                     " ppm\", 1.0e6 / tb_period));\n";
            }
            s += "        tb_duty = (tb_tf - tb_t0) / tb_period;\n";
            s += "        tb_check(tb_absr(tb_duty - " + Num(o.duty) + ") <= " + Num(o.dutyTol) + ", $sformatf(\"" + p +
                 " duty cycle %.4f, configured " + Txt(o.duty) + " +- " + Txt(o.dutyTol) + "\", tb_duty));\n";
            s += "        tb_delta = tb_t0 - tb_t_in - " + Num(o.phasePs) + ";\n";
            s += "        tb_delta = tb_delta - " + Num(o.modulusPs) + " * $floor(tb_delta / " + Num(o.modulusPs) + " + 0.5);\n";
            s += "        tb_check(tb_absr(tb_delta) <= " + Num(o.phaseTolPs) + ", $sformatf(\"" + p +
                 " rising edge %.3f ps away from the phase " + Txt(o.phaseDeg) + " deg to " + loop.input +
                 " (+- " + Txt(o.phaseTolPs) + " ps)\", tb_delta));\n";
        }
    }
    s += "        tb_measuring = 0;\n";
    for (std::size_t i = 0; i < loops.size(); ++i) {
        const Loop& loop = loops[i];
        if (loop.locked.empty()) continue;
        s += "        tb_check(!tb_lost" + std::to_string(i) + ", " +
             text.Quote(loop.locked + " stays high while the outputs are measured") + ");\n";
    }
    s += "        tb_stage = \"reset again\";\n";
    for (const Loop& loop : loops)
        if (!loop.reset.empty()) s += "        " + loop.reset + " = 1'b1;\n";
    s += "        repeat (5) @(posedge " + first + ");\n";
    for (const Loop& loop : loops) {
        if (loop.reset.empty() || loop.locked.empty()) continue;
        s += "        tb_check(" + loop.locked + " === 1'b0, " +
             text.Quote(loop.locked + " falls when " + loop.reset + " is raised again") + ");\n";
    }
    text.Step(s);
}

void AddVhdl(const std::vector<Loop>& loops, Olm_TbText& text) {
    std::string d = "    signal tb_measuring : boolean := false;\n";
    std::string c;
    std::vector<std::string> driven;
    for (std::size_t i = 0; i < loops.size(); ++i) {
        const Loop& loop = loops[i];
        if (!loop.locked.empty()) {
            const std::string lost = "tb_lost" + std::to_string(i);
            d += "    signal " + lost + " : boolean := false;\n";
            c += "    " + lost + "_watch : process\n    begin\n        wait until falling_edge(" + loop.locked +
                 ") and tb_measuring;\n        " + lost + " <= true;\n        wait;\n    end process;\n";
        }
        bool seen = false;
        for (const std::string& port : driven) seen = seen || port == loop.input;
        if (seen) continue;
        driven.push_back(loop.input);
        c += "    " + loop.input + " <= not " + loop.input + " after " + Num(loop.inputPs / 2.0) + " ps;\n";
    }
    text.Declare(d);
    text.Concurrent(c);
    text.ProcessDeclare("        variable tb_t_in, tb_t0, tb_tf, tb_t1, tb_period, tb_duty, tb_delta : real;\n");

    const std::string first = loops.front().input;
    std::string s;
    for (const Loop& loop : loops)
        if (!loop.reset.empty()) s += "        " + loop.reset + " <= '1';\n";
    s += "        for i in 1 to " + std::to_string(kResetCycles) + " loop\n            wait until rising_edge(" + first +
         ");\n        end loop;\n";
    for (const Loop& loop : loops) {
        if (loop.reset.empty() || loop.locked.empty()) continue;
        s += "        tb_check(" + loop.locked + " = '0', " + text.Quote(loop.locked + " is low while " + loop.reset + " is high") +
             ");\n";
    }
    for (const Loop& loop : loops)
        if (!loop.reset.empty()) s += "        " + loop.reset + " <= '0';\n";
    bool anyLocked = false;
    for (const Loop& loop : loops) {
        if (loop.locked.empty()) continue;
        anyLocked = true;
        s += "        if " + loop.locked + " /= '1' then\n            wait until " + loop.locked + " = '1';\n        end if;\n";
    }
    s += "        for i in 1 to " + std::to_string(anyLocked ? 8 : kLockBudget) + " loop\n            wait until rising_edge(" +
         first + ");\n        end loop;\n";
    s += "        tb_measuring <= true;\n";
    for (const Loop& loop : loops) {
        for (const Output& o : loop.outputs) {
            const std::string p = o.port;
            s += "        wait until rising_edge(" + loop.input + ");\n        tb_t_in := tb_ps_of(now);\n";
            s += "        wait until rising_edge(" + p + ");\n        tb_t0 := tb_ps_of(now);\n";
            s += "        wait until falling_edge(" + p + ");\n        tb_tf := tb_ps_of(now);\n";
            s += "        for i in 1 to " + std::to_string(kPeriods) + " loop\n            wait until rising_edge(" + p +
                 ");\n        end loop;\n";
            s += "        tb_t1 := tb_ps_of(now);\n";
            s += "        tb_period := (tb_t1 - tb_t0) / " + std::to_string(kPeriods) + ".0;\n";
            const double tol = kPeriodTolPs + kPeriodTolRel * o.periodPs;
            s += "        tb_check(abs(tb_period - " + Num(o.periodPs) + ") <= " + Num(tol) + ", \"" + p +
                 " frequency \" & tb_fmt(1.0e6 / tb_period) & \" MHz (period \" & tb_fmt(tb_period) & \" ps), the dividers give " +
                 Txt(1e6 / o.periodPs) + " MHz (period " + Txt(o.periodPs) + " ps +- " + Txt(tol) + " ps)\");\n";
            if (o.requestMHz > 0.0) {
                const double req = 1e6 / o.requestMHz;
                const double rtol = req * o.ppm * 1e-6 + kPeriodTolPs;
                s += "        tb_check(abs(tb_period - " + Num(req) + ") <= " + Num(rtol) + ", \"" + p +
                     " frequency \" & tb_fmt(1.0e6 / tb_period) & \" MHz, requested " + Txt(o.requestMHz) + " MHz +- " +
                     Txt(o.ppm) + " ppm\");\n";
            }
            s += "        tb_duty := (tb_tf - tb_t0) / tb_period;\n";
            s += "        tb_check(abs(tb_duty - " + Num(o.duty) + ") <= " + Num(o.dutyTol) + ", \"" + p +
                 " duty cycle \" & tb_fmt(tb_duty) & \", configured " + Txt(o.duty) + " +- " + Txt(o.dutyTol) + "\");\n";
            s += "        tb_delta := tb_t0 - tb_t_in - " + Num(o.phasePs) + ";\n";
            s += "        tb_delta := tb_delta - " + Num(o.modulusPs) + " * floor(tb_delta / " + Num(o.modulusPs) + " + 0.5);\n";
            s += "        tb_check(abs(tb_delta) <= " + Num(o.phaseTolPs) + ", \"" + p + " rising edge \" & tb_fmt(tb_delta) & \" ps away from the phase " +
                 Txt(o.phaseDeg) + " deg to " + loop.input + " (+- " + Txt(o.phaseTolPs) + " ps)\");\n";
        }
    }
    s += "        tb_measuring <= false;\n";
    for (std::size_t i = 0; i < loops.size(); ++i) {
        const Loop& loop = loops[i];
        if (loop.locked.empty()) continue;
        s += "        tb_check(not tb_lost" + std::to_string(i) + ", " +
             text.Quote(loop.locked + " stays high while the outputs are measured") + ");\n";
    }
    for (const Loop& loop : loops)
        if (!loop.reset.empty()) s += "        " + loop.reset + " <= '1';\n";
    s += "        for i in 1 to 5 loop\n            wait until rising_edge(" + first + ");\n        end loop;\n";
    for (const Loop& loop : loops) {
        if (loop.reset.empty() || loop.locked.empty()) continue;
        s += "        tb_check(" + loop.locked + " = '0', " +
             text.Quote(loop.locked + " falls when " + loop.reset + " is raised again") + ");\n";
    }
    text.Step(s);
}

}  // namespace

bool Olm_TbClockBench::Applies(const Olm_TbDesign& design) {
    return design.Has("RKO_ADV") || design.Has("RKO_BASE");
}

bool Olm_TbClockBench::Add(const Olm_TbDesign& design, Olm_TbText& text, std::string& error) {
    std::vector<Loop> loops;
    for (const Olm_HdlInstance& instance : design.View().instances) {
        const bool advanced = Pal::StrUtil::EqualNoCase(instance.primitive, "RKO_ADV");
        if (!advanced && !Pal::StrUtil::EqualNoCase(instance.primitive, "RKO_BASE")) continue;
        Loop loop;
        if (!LoopOf(design, instance, advanced, loop, error)) return false;
        loops.push_back(loop);
    }
    if (loops.empty()) {
        error = "the design has no phase-locked loop";
        return false;
    }
    double budget = (kResetCycles + 8 + 10) * loops.front().inputPs;
    for (const Loop& loop : loops) {
        budget += kLockBudget * loop.inputPs;
        for (const Output& o : loop.outputs) budget += (kPeriods + 3) * o.periodPs + 2 * loop.inputPs;
    }
    for (const Loop& loop : loops)
        if (!loop.feedback.first.empty()) text.Loop(loop.feedback.first, loop.feedback.second);
    text.SetTimeUnit("1ps");
    text.SetWatchdog(text.Verilog() ? Num(budget * 1.5) : Num(budget * 1.5) + " ps");
    if (text.Verilog()) AddVerilog(loops, text);
    else AddVhdl(loops, text);
    return true;
}

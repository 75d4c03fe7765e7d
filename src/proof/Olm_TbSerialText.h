#pragma once

#include "shared/OlmBaseExport.h"

#include <optional>
#include <string>

class Olm_TbText;

// The pieces that the benches of the serial I/O blocks (Olm_TbSerialBench,
// Olm_TbReceiveBench, Olm_TbRoundTripBench) share: their clocks, their
// waits, their random words, their timing and the limits of their words and
// buses. The text is in the language of the testbench (verilog true:
// Verilog, else VHDL), at the indentation of the frame's statements.
class OLM_BASE_EXPORT Olm_TbSerialText {
public:
    // The statement that drives the bit clock 'clk' (period clkPs) and the
    // word clock 'clkWord' (wordHalves half periods of the bit clock, high
    // for the first half) from one process, so that their rising edges
    // coincide; it counts the bit clock's edges in tb_edges (Verilog; the
    // bench declares it). With startPs both start that late.
    static std::string Clocks(bool verilog, const std::string& clk, const std::string& clkWord, double clkPs,
                              int wordHalves, std::optional<double> startPs = std::nullopt);
    // The statement that counts the rising edges of clkWord in tb_k (the
    // bench declares it).
    static std::string WordCounter(bool verilog, const std::string& clkWord);
    // The step that drives the reset port high (on) or low; none when the
    // design has no reset port (reset empty).
    static std::string Reset(bool verilog, const std::string& reset, bool on);
    // A step that waits for n rising edges of clock.
    static std::string WaitRising(bool verilog, int n, const std::string& clock);
    // The steps that check words received words, one at each rising edge
    // of clkWord: there tb_m = tb_k - latency is the index of the word due,
    // which check (statements of the loop's body) checks from tb_m =
    // tb_first on (the bench sets tb_first, and in Verilog tb_m below it).
    static std::string CheckWords(bool verilog, const std::string& clkWord, int latency, int words,
                                  const std::string& check);
    // VHDL: the statements, indented by indent spaces, that fill the vector
    // variable 'vector' with random bits drawn by uniform(seed1, seed2, x)
    // into the real variable x (declared by the bench).
    static std::string RandomBits(int indent, const std::string& vector, const std::string& x);

    // Times in picoseconds; the run fails when it has not ended budgetPs
    // after its start.
    static void SetTiming(Olm_TbText& text, double budgetPs);

    // Whether a word of width bits fits the block: from lowest to highest,
    // and even in DDR (a bit on each clock edge).
    static bool WordWidthOk(int width, bool ddr, int lowest, int highest) {
        return width >= lowest && width <= highest && !(ddr && width % 2);
    }
    // Whether a bus of lines lines at rateMbps Mb/s can be run: 1 to 64
    // lines, a rate above 0 and below 100000.
    static bool BusOk(int lines, double rateMbps) {
        return lines >= 1 && lines <= 64 && rateMbps > 0.0 && rateMbps < 1e5;
    }
};

// Clock and delay arithmetic of the source-synchronous I/O wizards.
//
// A serializer (OSER) or deserializer (ISER) moves one bit per cycle of its
// fast clock in SDR and two in DDR, and one word of `ratio` bits per cycle of
// its word clock:
//
//     f_fast = bit rate (SDR)   or   bit rate / 2 (DDR)
//     f_word = bit rate / ratio
//
// in MHz for a bit rate in Mb/s. Each data rate allows its own ratios, and a
// ratio above the largest one block handles takes a master and a slave block.
//
// The input delay (IDLY) splits one period of its reference clock into
// `tapsPerPeriod` taps, so a tap is 1e6 / (tapsPerPeriod * f_ref) ps; a
// requested delay becomes the nearest whole number of taps (half a tap rounds
// up), which must lie within the delay line.
//
// The class depends on the standard library only; the wizards read the
// limits from the installed data (SsioWizard::ReadLimits).
#pragma once

#include "pal/StrUtil.h"

#include <string>
#include <vector>

namespace Ssio {

// An inclusive range of frequencies in MHz.
struct Range {
    double min = 0.0;
    double max = 0.0;
};

struct Limits {
    std::string block;            // the primitive in messages: "ISER", "OSER"
    Range fastClock;              // CLK
    Range wordClock;              // CLKWORD
    std::vector<int> sdrRatios;   // the ratios SDR allows
    std::vector<int> ddrRatios;   // the ratios DDR allows
    int blockRatio = 8;           // the largest ratio one block handles alone
    Range refClock;               // the delay's reference clock (REF_FREQ)
    int tapsPerPeriod = 64;       // taps in one period of the reference clock
    int minTaps = 0;              // the delay line, in taps
    int maxTaps = 31;
};

struct ClockPlan {
    bool ok = false;
    double fastMHz = 0.0;
    double wordMHz = 0.0;
    bool cascade = false;  // two blocks a bit
    std::string message;   // why not, when !ok
};

struct TapPlan {
    bool ok = false;
    int taps = 0;
    double tapPs = 0.0;    // one tap
    double delayPs = 0.0;  // taps * tapPs
    double maxPs = 0.0;    // the longest delay at this reference clock: maxTaps * tapPs
    std::string message;   // why not, when !ok
};

class SsioTiming {
public:
    explicit SsioTiming(Limits limits);

    const Limits& GetLimits() const { return m_limits; }
    // The ratios a data rate allows.
    const std::vector<int>& Ratios(bool ddr) const;

    // The clocks of a bit rate (Mb/s), or why the block cannot run it: a
    // ratio the data rate does not allow, or a clock outside its range. A
    // bit rate that is not a positive number is refused too.
    ClockPlan Clocks(double bitRateMbps, bool ddr, int ratio) const;
    // The taps of a delay (ps) at a reference clock (MHz), or why not: a
    // reference clock outside its range, or more taps than the delay line
    // has. The page's texts and its check both come from here.
    TapPlan Taps(double delayPs, double refMHz) const;

    // A number for messages and notes: up to six decimals, no trailing zeros.
    static std::string Number(double value) { return Pal::StrUtil::FormatNumber(value); }

private:
    Limits m_limits;
};

}  // namespace Ssio

#pragma once

#include <string>
#include <vector>

class Olm_Block;
class Olm_FieldValues;
class Olm_WizData;

namespace TklPll {

// The clock buffer chosen for each output clock of the PLL (attribute
// OLMW_ONLY_SETCLKBUF_,CLKOUT<n>), made real in the model:
//
//   choice          what the design gets
//   Global Buffer   a KBUFG between the PLL output and the port
//   Enabled Buffer  a KBUFGCE, whose CE is the input port <port>_ce
//   Clock Mux       a KBUFGMUX with the PLL output on I0, the input ports
//                   <port>_alt on I1 and <port>_sel on S
//   Output Buffer   a KOBUF that drives the clock to a device pin
//   Lowskewline     no instance: the constraint template asks for the
//   Local Routing   low-skew lines or local routing of the port's net
//
// A buffer instance is named <primitive>_CLKOUT<n> and made from the block
// of its primitive in the installed data (olm_tkl.dev). The PLL output then
// drives the inner net CLKOUT<n>_PLL, and the buffer's O the net that was the
// output's (CLKOUT<n>_OUT, the port), so feedback from an output clock runs
// through its buffer. The port's name is kept in OLMW_ONLY_CLKOUT<n>_PORT,
// where the pages find it while the output drives the inner net.
class ClockBuffers {
public:
    struct Type {
        const char* choice;     // as the page and the option file name it
        const char* primitive;  // the buffer's primitive; null for a routing choice
        const char* route;      // the clock_route word of a routing choice; null for a buffer
    };
    static const std::vector<Type>& Types();
    // The type of a choice (exact spelling); null when there is none.
    static const Type* Find(const std::string& choice);

    // The extra ports a choice adds beside the clock's port, e.g.
    // {"clk_25_ce"} for "Enabled Buffer" on the port clk_25.
    static std::vector<std::string> ExtraPorts(const std::string& choice, const std::string& port);

    // Undoes Insert, also for a model loaded from a design file: each buffer
    // instance is deleted and the PLL output it was fed by drives the
    // buffer's output net again.
    static void Remove(Olm_WizData& data, Olm_Block& pll);

    // A buffer of its chosen type between each used output and its port.
    // False, with the reason in error, when the installed data lacks the
    // primitive of a chosen buffer; the model is then left without buffers.
    static bool Insert(Olm_WizData& data, Olm_Block& pll, const Olm_FieldValues& values, std::string& error);

    // The constraint-template lines of the routing choices of the used
    // outputs: "clock_route <port> = lowskew;" or "... = local;".
    static std::vector<std::string> RouteLines(const Olm_FieldValues& values);
};

}  // namespace TklPll

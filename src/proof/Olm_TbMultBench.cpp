#include "proof/Olm_TbMultBench.h"

#include "proof/Olm_TbDesign.h"
#include "proof/Olm_TbText.h"

#include <vector>

namespace {

constexpr int kRandomCycles = 240;

struct Operand {
    std::string port;
    int width = 0;
    bool isSigned = true;
    int pipe = 0;
};

// The extreme values of an operand as bit strings, MSB first.
std::vector<std::string> Extremes(const Operand& op) {
    const int w = op.width;
    std::vector<std::string> values = {std::string(w, '0'), std::string(w - 1, '0') + "1"};
    if (op.isSigned) {
        values.push_back("0" + std::string(w - 1, '1'));  // largest
        values.push_back("1" + std::string(w - 1, '0'));  // smallest
        values.push_back(std::string(w, '1'));            // -1
    } else {
        values.push_back(std::string(w, '1'));  // largest
        values.push_back("1" + std::string(w - 1, '0'));
    }
    return values;
}

std::string Literal(bool verilog, const std::string& bits) {
    return verilog ? std::to_string(bits.size()) + "'b" + bits : "\"" + bits + "\"";
}

struct Mult {
    Operand a, b;
    std::string product, clk, ce, rst;
    int pw = 0, mpipe = 0, ppipe = 0;
    // Clock cycles until a product of both operands is out: the operand
    // with more registers decides; each operand has its own latency.
    int Latency() const { return (a.pipe > b.pipe ? a.pipe : b.pipe) + mpipe + ppipe; }
    int LatencyOf(const Operand& op) const { return op.pipe + mpipe + ppipe; }
    bool Clocked() const { return a.pipe + b.pipe + mpipe + ppipe > 0; }
};

// Register stage names: <prefix>1 .. <prefix>n; the stage a value leaves.
std::string Last(const std::string& prefix, int stages, const std::string& input) {
    return stages > 0 ? prefix + std::to_string(stages) : input;
}

void AddVerilog(const Mult& m, Olm_TbText& text) {
    const int fw = m.a.width + m.b.width + 2;
    const std::string aw = std::to_string(m.a.width), bw = std::to_string(m.b.width), fws = std::to_string(fw);
    std::string d;
    d += "    // The reference: the operands extended as the design file says, the\n"
         "    // product through the register stages it asks for.\n";
    d += "    function automatic [" + std::to_string(fw - 1) + ":0] tb_full_product(input [" + std::to_string(m.a.width - 1) +
         ":0] x, input [" + std::to_string(m.b.width - 1) + ":0] y);\n"
         "        reg signed [" + aw + ":0] xs;\n"
         "        reg signed [" + bw + ":0] ys;\n"
         "        begin\n"
         "            xs = {" + (m.a.isSigned ? "x[" + std::to_string(m.a.width - 1) + "]" : "1'b0") + ", x};\n"
         "            ys = {" + (m.b.isSigned ? "y[" + std::to_string(m.b.width - 1) + "]" : "1'b0") + ", y};\n"
         "            tb_full_product = xs * ys;\n"
         "        end\n"
         "    endfunction\n";
    const std::string clk = m.clk.empty() ? "1'b0" : m.clk, ce = m.ce.empty() ? "1'b1" : m.ce,
                      rst = m.rst.empty() ? "1'b0" : m.rst;
    for (int i = 1; i <= m.a.pipe; ++i) d += "    reg [" + std::to_string(m.a.width - 1) + ":0] tb_ra" + std::to_string(i) + " = 0;\n";
    for (int i = 1; i <= m.b.pipe; ++i) d += "    reg [" + std::to_string(m.b.width - 1) + ":0] tb_rb" + std::to_string(i) + " = 0;\n";
    for (int i = 1; i <= m.mpipe; ++i) d += "    reg [" + std::to_string(fw - 1) + ":0] tb_rm" + std::to_string(i) + " = 0;\n";
    for (int i = 1; i <= m.ppipe; ++i) d += "    reg [" + std::to_string(fw - 1) + ":0] tb_rp" + std::to_string(i) + " = 0;\n";
    d += "    wire [" + std::to_string(fw - 1) + ":0] tb_m_in = tb_full_product(" + Last("tb_ra", m.a.pipe, m.a.port) + ", " +
         Last("tb_rb", m.b.pipe, m.b.port) + ");\n";
    d += "    wire [" + std::to_string(fw - 1) + ":0] tb_p_in = " + Last("tb_rm", m.mpipe, "tb_m_in") + ";\n";
    d += "    wire [" + std::to_string(fw - 1) + ":0] tb_p_full = " + Last("tb_rp", m.ppipe, "tb_p_in") + ";\n";
    // A product port wider than the full product carries its sign.
    d += "    wire [" + std::to_string(m.pw - 1) + ":0] tb_p_ref = " +
         (m.pw <= fw ? "tb_p_full[" + std::to_string(m.pw - 1) + ":0];\n"
                     : "{{" + std::to_string(m.pw - fw) + "{tb_p_full[" + std::to_string(fw - 1) + "]}}, tb_p_full};\n");
    d += "    integer tb_cycle = 0;\n    bit tb_comparing = 0;\n";
    (void)fws;
    text.Declare(d);

    std::string c;
    if (m.Clocked()) {
        c += "    always #5 " + m.clk + " = ~" + m.clk + ";\n\n";
        std::string clear, shift;
        const auto stage = [&](const std::string& prefix, int n, const std::string& input) {
            for (int i = 1; i <= n; ++i) {
                clear += "            " + prefix + std::to_string(i) + " <= 0;\n";
                shift += "            " + prefix + std::to_string(i) + " <= " +
                         (i == 1 ? input : prefix + std::to_string(i - 1)) + ";\n";
            }
        };
        stage("tb_ra", m.a.pipe, m.a.port);
        stage("tb_rb", m.b.pipe, m.b.port);
        stage("tb_rm", m.mpipe, "tb_m_in");
        stage("tb_rp", m.ppipe, "tb_p_in");
        c += "    always @(posedge " + clk + ") begin\n"
             "        if (" + rst + ") begin\n" + clear + "        end else if (" + ce + ") begin\n" + shift +
             "        end\n    end\n";
    }
    text.Concurrent(c);

    // One step: compare the product with the reference (when comparing),
    // then apply the next operands, clock enable and reset.
    const std::string compare =
        "tb_check(" + m.product + " === tb_p_ref, $sformatf(\"product %h, expected %h (" + m.a.port + "/" + m.b.port +
        " step %0d, %s)\", " + m.product + ", tb_p_ref, tb_cycle, tb_stage));\n";
    std::string s;
    const auto step = [&](const std::string& a, const std::string& b, const std::string& ceValue,
                          const std::string& rstValue) {
        std::string t;
        if (m.Clocked()) t += "            @(negedge " + m.clk + ");\n";
        else t += "            #5;\n";
        t += "            if (tb_comparing) " + compare;
        t += "            tb_cycle = tb_cycle + 1;\n";
        t += "            " + m.a.port + " = " + a + ";\n            " + m.b.port + " = " + b + ";\n";
        if (!m.ce.empty()) t += "            " + m.ce + " = " + ceValue + ";\n";
        if (!m.rst.empty()) t += "            " + m.rst + " = " + rstValue + ";\n";
        return t;
    };
    const std::string lat = std::to_string(m.Latency() + 2);
    if (m.Clocked() && !m.rst.empty()) {
        s += "        tb_stage = \"reset\";\n        repeat (3) begin\n" + step("0", "0", "1'b1", "1'b1") + "        end\n";
        s += "        tb_comparing = 1;\n";
        s += "        repeat (2) begin\n" + step("$urandom", "$urandom", "1'b1", "1'b1") + "        end\n";
    } else if (m.Clocked()) {
        // No reset: the registers are filled before the first comparison.
        s += "        tb_stage = \"filling the registers\";\n        repeat (" + lat + ") begin\n" +
             step("$urandom", "$urandom", "1'b1", "1'b0") + "        end\n        tb_comparing = 1;\n";
    } else {
        s += "        tb_comparing = 1;\n";
    }
    if (m.Clocked()) {
        // A single 1 on each operand in turn, the other held at 1: the
        // product must show it exactly that operand's latency later.
        for (const bool onA : {true, false}) {
            const Operand& op = onA ? m.a : m.b;
            const std::string zero = Literal(true, std::string(op.width, '0')),
                              one = Literal(true, std::string(op.width - 1, '0') + "1"),
                              held = Literal(true, std::string((onA ? m.b : m.a).width - 1, '0') + "1");
            const auto pulse = [&](const std::string& v) {
                return onA ? step(v, held, "1'b1", "1'b0") : step(held, v, "1'b1", "1'b0");
            };
            const std::string lat = std::to_string(m.LatencyOf(op) + 1);
            s += "        tb_stage = \"latency from " + op.port + " (" + std::to_string(m.LatencyOf(op)) +
                 " clock cycles)\";\n        repeat (" + std::to_string(m.Latency() + 1) + ") begin\n" + pulse(zero) +
                 "        end\n        begin\n" + pulse(one) + "        end\n        repeat (" + lat + ") begin\n" +
                 pulse(zero) + "        end\n";
        }
    }
    s += "        tb_stage = \"extreme operands\";\n";
    for (const std::string& x : Extremes(m.a))
        for (const std::string& y : Extremes(m.b))
            s += "        begin\n" + step(Literal(true, x), Literal(true, y), "1'b1", "1'b0") + "        end\n";
    s += "        tb_stage = \"random operands\";\n";
    s += "        repeat (" + std::to_string(kRandomCycles) + ") begin\n" +
         step("$urandom", "$urandom", "($urandom % 4 != 0)", "1'b0") + "        end\n";
    if (!m.rst.empty() && m.Clocked()) {
        s += "        tb_stage = \"reset while running\";\n        begin\n" + step("$urandom", "$urandom", "1'b1", "1'b1") +
             "        end\n";
        s += "        repeat (20) begin\n" + step("$urandom", "$urandom", "1'b1", "1'b0") + "        end\n";
    }
    s += "        tb_stage = \"draining\";\n        repeat (" + lat + ") begin\n" + step("$urandom", "$urandom", "1'b1", "1'b0") +
         "        end\n";
    text.Step(s);
}

void AddVhdl(const Mult& m, Olm_TbText& text) {
    const int fw = m.a.width + m.b.width + 2;
    const std::string fws = std::to_string(fw - 1);
    const auto slv = [](int width) { return "std_logic_vector(" + std::to_string(width - 1) + " downto 0)"; };
    std::string d;
    d += "\n    -- The reference: the operands extended as the design file says, the\n"
         "    -- product through the register stages it asks for.\n";
    d += "    function tb_full_product(x : " + slv(m.a.width) + "; y : " + slv(m.b.width) + ") return signed is\n"
         "        variable xs : signed(" + std::to_string(m.a.width) + " downto 0);\n"
         "        variable ys : signed(" + std::to_string(m.b.width) + " downto 0);\n"
         "    begin\n"
         "        xs := signed(" + (m.a.isSigned ? "x(" + std::to_string(m.a.width - 1) + ")" : std::string("'0'")) + " & x);\n"
         "        ys := signed(" + (m.b.isSigned ? "y(" + std::to_string(m.b.width - 1) + ")" : std::string("'0'")) + " & y);\n"
         "        return xs * ys;\n"
         "    end function;\n\n";
    for (int i = 1; i <= m.a.pipe; ++i) d += "    signal tb_ra" + std::to_string(i) + " : " + slv(m.a.width) + " := (others => '0');\n";
    for (int i = 1; i <= m.b.pipe; ++i) d += "    signal tb_rb" + std::to_string(i) + " : " + slv(m.b.width) + " := (others => '0');\n";
    for (int i = 1; i <= m.mpipe; ++i) d += "    signal tb_rm" + std::to_string(i) + " : signed(" + fws + " downto 0) := (others => '0');\n";
    for (int i = 1; i <= m.ppipe; ++i) d += "    signal tb_rp" + std::to_string(i) + " : signed(" + fws + " downto 0) := (others => '0');\n";
    d += "    signal tb_m_in, tb_p_in, tb_p_full : signed(" + fws + " downto 0);\n";
    d += "    signal tb_p_ref : " + slv(m.pw) + ";\n";
    text.Declare(d);

    const std::string ce = m.ce.empty() ? "std_logic'('1')" : m.ce, rst = m.rst.empty() ? "std_logic'('0')" : m.rst;
    std::string c;
    c += "    tb_m_in <= tb_full_product(" + Last("tb_ra", m.a.pipe, m.a.port) + ", " + Last("tb_rb", m.b.pipe, m.b.port) + ");\n";
    c += "    tb_p_in <= " + Last("tb_rm", m.mpipe, "tb_m_in") + ";\n";
    c += "    tb_p_full <= " + Last("tb_rp", m.ppipe, "tb_p_in") + ";\n";
    c += m.pw <= fw ? "    tb_p_ref <= std_logic_vector(tb_p_full(" + std::to_string(m.pw - 1) + " downto 0));\n"
                    : "    tb_p_ref <= std_logic_vector(resize(tb_p_full, " + std::to_string(m.pw) + "));\n";
    if (m.Clocked()) {
        c += "    " + m.clk + " <= not " + m.clk + " after 5 ns;\n\n";
        std::string clear, shift;
        const auto stage = [&](const std::string& prefix, int n, const std::string& input) {
            for (int i = 1; i <= n; ++i) {
                clear += "                " + prefix + std::to_string(i) + " <= (others => '0');\n";
                shift += "                " + prefix + std::to_string(i) + " <= " +
                         (i == 1 ? input : prefix + std::to_string(i - 1)) + ";\n";
            }
        };
        stage("tb_ra", m.a.pipe, m.a.port);
        stage("tb_rb", m.b.pipe, m.b.port);
        stage("tb_rm", m.mpipe, "tb_m_in");
        stage("tb_rp", m.ppipe, "tb_p_in");
        c += "    reference : process (" + m.clk + ")\n    begin\n        if rising_edge(" + m.clk + ") then\n"
             "            if " + rst + " = '1' then\n" + clear + "            elsif " + ce + " = '1' then\n" + shift +
             "            end if;\n        end if;\n    end process;\n";
    }
    text.Concurrent(c);

    text.ProcessDeclare(
        "        variable tb_seed1 : positive := 17;\n"
        "        variable tb_seed2 : positive := 4711;\n"
        "        variable tb_step_count : natural := 0;\n"
        "        variable tb_comparing : boolean := false;\n\n"
        "        impure function tb_random_bits(width : positive) return std_logic_vector is\n"
        "            variable r : real;\n"
        "            variable bits : std_logic_vector(width - 1 downto 0);\n"
        "        begin\n"
        "            for i in bits'range loop\n"
        "                uniform(tb_seed1, tb_seed2, r);\n"
        "                if r >= 0.5 then\n"
        "                    bits(i) := '1';\n"
        "                else\n"
        "                    bits(i) := '0';\n"
        "                end if;\n"
        "            end loop;\n"
        "            return bits;\n"
        "        end function;\n\n"
        "        -- One step: compare the product with the reference (when\n"
        "        -- comparing), then apply the next operands, clock enable and reset.\n"
        "        procedure tb_step(tb_a : std_logic_vector; tb_b : std_logic_vector; tb_ce_value, tb_rst_value : std_logic;\n"
        "                       tb_what : string) is\n"
        "        begin\n" +
        std::string(m.Clocked() ? "            wait until falling_edge(" + m.clk + ");\n" : "            wait for 5 ns;\n") +
        "            if tb_comparing then\n"
        "                tb_check(" + m.product + " = tb_p_ref, \"product \" & to_hstring(" + m.product +
        ") & \", expected \" & to_hstring(tb_p_ref) & \" (" + m.a.port + "/" + m.b.port +
        " step \" & integer'image(tb_step_count) & \", \" & tb_what & \")\");\n"
        "            end if;\n"
        "            tb_step_count := tb_step_count + 1;\n"
        "            " + m.a.port + " <= tb_a;\n            " + m.b.port + " <= tb_b;\n" +
        (m.ce.empty() ? "" : "            " + m.ce + " <= tb_ce_value;\n") +
        (m.rst.empty() ? "" : "            " + m.rst + " <= tb_rst_value;\n") +
        "        end procedure;\n\n"
        "        impure function tb_random_ce return std_logic is\n"
        "            variable r : real;\n"
        "        begin\n"
        "            uniform(tb_seed1, tb_seed2, r);\n"
        "            if r >= 0.25 then\n"
        "                return '1';\n"
        "            end if;\n"
        "            return '0';\n"
        "        end function;\n");

    const std::string aw = std::to_string(m.a.width), bw = std::to_string(m.b.width);
    const std::string ra = "tb_random_bits(" + aw + ")", rb = "tb_random_bits(" + bw + ")";
    const std::string lat = std::to_string(m.Latency() + 2);
    std::string s;
    if (m.Clocked() && !m.rst.empty()) {
        s += "        for i in 1 to 3 loop\n            tb_step((" + aw + " - 1 downto 0 => '0'), (" + bw +
             " - 1 downto 0 => '0'), '1', '1', \"reset\");\n        end loop;\n";
        s += "        tb_comparing := true;\n";
        s += "        for i in 1 to 2 loop\n            tb_step(" + ra + ", " + rb + ", '1', '1', \"reset\");\n        end loop;\n";
    } else if (m.Clocked()) {
        s += "        for i in 1 to " + lat + " loop\n            tb_step(" + ra + ", " + rb +
             ", '1', '0', \"filling the registers\");\n        end loop;\n        tb_comparing := true;\n";
    } else {
        s += "        tb_comparing := true;\n";
    }
    if (m.Clocked()) {
        for (const bool onA : {true, false}) {
            const Operand& op = onA ? m.a : m.b;
            const std::string zero = Literal(false, std::string(op.width, '0')),
                              one = Literal(false, std::string(op.width - 1, '0') + "1"),
                              held = Literal(false, std::string((onA ? m.b : m.a).width - 1, '0') + "1");
            const std::string what = "\"latency from " + op.port + " (" + std::to_string(m.LatencyOf(op)) + " clock cycles)\"";
            const auto pulse = [&](const std::string& v) {
                return "tb_step(" + (onA ? v + ", " + held : held + ", " + v) + ", '1', '0', " + what + ");\n";
            };
            s += "        for i in 1 to " + std::to_string(m.Latency() + 1) + " loop\n            " + pulse(zero) +
                 "        end loop;\n        " + pulse(one) + "        for i in 1 to " +
                 std::to_string(m.LatencyOf(op) + 1) + " loop\n            " + pulse(zero) + "        end loop;\n";
        }
    }
    for (const std::string& x : Extremes(m.a))
        for (const std::string& y : Extremes(m.b))
            s += "        tb_step(" + Literal(false, x) + ", " + Literal(false, y) + ", '1', '0', \"extreme operands\");\n";
    s += "        for i in 1 to " + std::to_string(kRandomCycles) + " loop\n            tb_step(" + ra + ", " + rb +
         ", tb_random_ce, '0', \"random operands\");\n        end loop;\n";
    if (!m.rst.empty() && m.Clocked()) {
        s += "        tb_step(" + ra + ", " + rb + ", '1', '1', \"reset while running\");\n";
        s += "        for i in 1 to 20 loop\n            tb_step(" + ra + ", " + rb +
             ", '1', '0', \"after the reset\");\n        end loop;\n";
    }
    s += "        for i in 1 to " + lat + " loop\n            tb_step(" + ra + ", " + rb +
         ", '1', '0', \"draining\");\n        end loop;\n";
    text.Step(s);
}

}  // namespace

bool Olm_TbMultBench::Add(const Olm_TbDesign& design, Olm_TbText& text, std::string& error) {
    const auto instances = design.Instances("DSP");
    if (instances.empty()) {
        error = "the design has no DSP block";
        return false;
    }
    const Olm_HdlInstance& dsp = *instances.front();
    Mult m;
    m.a = {design.PortOf(dsp, "A"), static_cast<int>(design.Number(dsp, "A_WIDTH", 18)), design.Flag(dsp, "A_SIGNED", true),
           static_cast<int>(design.Number(dsp, "A_PIPE", 1))};
    m.b = {design.PortOf(dsp, "B"), static_cast<int>(design.Number(dsp, "B_WIDTH", 18)), design.Flag(dsp, "B_SIGNED", true),
           static_cast<int>(design.Number(dsp, "B_PIPE", 1))};
    m.product = design.PortOf(dsp, "P");
    m.pw = static_cast<int>(design.Number(dsp, "P_WIDTH", 36));
    m.mpipe = static_cast<int>(design.Number(dsp, "M_PIPE", 1));
    m.ppipe = static_cast<int>(design.Number(dsp, "P_PIPE", 1));
    m.clk = design.PortOf(dsp, "CLK");
    m.ce = design.PortOf(dsp, "CE");
    m.rst = design.PortOf(dsp, "RST");
    const std::string mode = design.Value(dsp, "OPERATION_MODE", "MULTIPLY");
    if (mode != "MULTIPLY") {
        error = "the DSP block is in mode " + mode + "; a testbench is written for MULTIPLY only";
        return false;
    }
    const auto portWidth = [&design](const std::string& port) {
        const Olm_HdlPort* found = design.FindPort(port);
        return found ? found->width : 0;
    };
    // The whole P pin on a port (a design without the wizard's product
    // width): every bit of it is checked, the product extended to 48 bits.
    if (!m.product.empty() && portWidth(m.product) > m.pw && portWidth(m.product) <= 48 &&
        design.PinWidth(dsp, "P") == portWidth(m.product))
        m.pw = portWidth(m.product);
    const struct {
        const char* what;
        const std::string& port;
        int width;
    } ports[] = {{"operand A", m.a.port, m.a.width}, {"operand B", m.b.port, m.b.width}, {"product", m.product, m.pw}};
    for (const auto& port : ports) {
        if (port.width < 2 || port.width > 48) {
            error = std::string("the ") + port.what + " width " + std::to_string(port.width) + " is out of range";
            return false;
        }
        if (port.port.empty() || portWidth(port.port) != port.width) {
            error = std::string("the ") + port.what + " is not on a port of " + std::to_string(port.width) + " bits";
            return false;
        }
    }
    if (m.pw > m.a.width + m.b.width + 2 && m.pw != design.PinWidth(dsp, "P")) {
        error = "the product is wider than the full product of the operands";
        return false;
    }
    for (int pipe : {m.a.pipe, m.b.pipe, m.mpipe, m.ppipe}) {
        if (pipe < 0 || pipe > 4) {
            error = "a register stage count of " + std::to_string(pipe) + " is out of range";
            return false;
        }
    }
    if (m.Clocked() && m.clk.empty()) {
        error = "the multiplier has registers but no clock port";
        return false;
    }
    text.SetTimeUnit("1ns");
    text.SetWatchdog(text.Verilog() ? "100000" : "100 us");
    if (text.Verilog()) AddVerilog(m, text);
    else AddVhdl(m, text);
    return true;
}

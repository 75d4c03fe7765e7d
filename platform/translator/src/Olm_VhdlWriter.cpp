#include "translator/Olm_VhdlWriter.h"

#include "Olm_HdlLanguage.h"
#include "translator/Olm_VhdlTranslator.h"

namespace {

// VHDL folds letter case and doubles a quote inside a string.
constexpr Olm_HdlLanguage kVhdl{&Olm_VhdlTranslator::IsPortnameLegal, true, "generic", '"'};

const char* ModeWord(Olm_HdlDir dir) {
    switch (dir) {
    case Olm_HdlDir::kIn: return "in";
    case Olm_HdlDir::kOut: return "out";
    case Olm_HdlDir::kInout: return "inout";
    }
    return "in";
}

const char* TypeWord(Olm_HdlParamKind kind) {
    switch (kind) {
    case Olm_HdlParamKind::kInteger: return "integer";
    case Olm_HdlParamKind::kReal: return "real";
    case Olm_HdlParamKind::kString: return "string";
    }
    return "string";
}

std::string VectorType(int left, int right) {
    return "std_logic_vector(" + std::to_string(left) + (left >= right ? " downto " : " to ") +
           std::to_string(right) + ")";
}

std::string PinType(const Olm_HdlPrimitivePin& pin) {
    return pin.isVector ? VectorType(pin.left, pin.right) : "std_logic";
}

std::string NetType(int width, bool isVector) { return isVector ? VectorType(width - 1, 0) : "std_logic"; }

// The generic and port clauses of an entity or component, indented.
bool Interface(const Olm_HdlPrimitive& prim, const std::string& indent, std::string& text, std::string& error) {
    if (!prim.params.empty()) {
        text += indent + "generic (\n";
        for (std::size_t i = 0; i < prim.params.size(); ++i) {
            const auto& param = prim.params[i];
            std::string literal;
            if (!kVhdl.ValueText(param.defaultValue, param.kind, literal)) {
                error = "primitive '" + prim.name + "': the default of generic '" + param.name +
                        "' holds a character that cannot be written in a string";
                return false;
            }
            text += indent + "    " + param.name + " : " + TypeWord(param.kind) + " := " + literal +
                    (i + 1 < prim.params.size() ? ";\n" : "\n");
        }
        text += indent + ");\n";
    }
    if (!prim.pins.empty()) {
        text += indent + "port (\n";
        for (std::size_t i = 0; i < prim.pins.size(); ++i) {
            const auto& pin = prim.pins[i];
            std::string line = indent + "    " + pin.name + " : " + ModeWord(pin.dir) + " " + PinType(pin);
            if (pin.dir == Olm_HdlDir::kIn) line += pin.isVector ? " := (others => '0')" : " := '0'";
            text += line + (i + 1 < prim.pins.size() ? ";\n" : "\n");
        }
        text += indent + ");\n";
    }
    return true;
}

std::string ConstText(const std::string& bits) {
    return bits.size() == 1 ? "'" + bits + "'" : "\"" + bits + "\"";
}

std::string NetText(const Olm_HdlDesign& design, const Olm_HdlRun& run) {
    if (run.netMsb < 0) return run.net;
    int width = 1;
    bool isVector = false;
    design.NetShape(run.net, width, isVector);
    if (run.netMsb == run.netLsb) {
        // A single bit stays a std_logic unless the whole net is meant.
        return run.net + "(" + std::to_string(run.netMsb) + ")";
    }
    if (run.netMsb == width - 1 && run.netLsb == 0) return run.net;
    return run.net + "(" + std::to_string(run.netMsb) + " downto " + std::to_string(run.netLsb) + ")";
}

// The slice of a signal declared like the pin that holds the positions of a run.
std::string PinSlice(const std::string& name, const Olm_HdlPrimitivePin& pin, const Olm_HdlRun& run) {
    const bool down = pin.left >= pin.right;
    const int hi = down ? pin.right + run.posHi : pin.right - run.posHi;
    const int lo = down ? pin.right + run.posLo : pin.right - run.posLo;
    if (hi == lo) return name + "(" + std::to_string(hi) + ")";
    return name + "(" + std::to_string(hi) + (down ? " downto " : " to ") + std::to_string(lo) + ")";
}

// The actual of a pin when one needs no signal of its own; "" otherwise.
std::string DirectActual(const Olm_HdlDesign& design, const Olm_HdlConnection& conn) {
    const std::vector<Olm_HdlRun> runs = Olm_HdlDesign::Runs(conn.bits);
    if (runs.size() != 1) return "";
    const Olm_HdlRun& run = runs.front();
    switch (run.kind) {
    case Olm_HdlRun::kOpen: return "open";
    case Olm_HdlRun::kConst:
        if (!conn.pin.isVector) return ConstText(run.constBits);
        if (run.constBits.find('1') == std::string::npos) return "(others => '0')";
        if (run.constBits.find('0') == std::string::npos) return "(others => '1')";
        return ConstText(run.constBits);
    case Olm_HdlRun::kNet:
        if (run.netMsb < 0) return conn.pin.isVector ? "" : run.net;
        if (!conn.pin.isVector) return NetText(design, run);
        if (run.netMsb == run.netLsb) {
            // A one-bit vector pin takes a slice, not an element.
            return run.net + "(" + std::to_string(run.netMsb) + " downto " + std::to_string(run.netLsb) + ")";
        }
        return NetText(design, run);
    }
    return "";
}

}  // namespace

bool Olm_VhdlWriter::WriteWrapper(const Olm_HdlDesign& design, std::string& text, std::string& error) {
    text.clear();
    Olm_HdlNameTable units = kVhdl.NewScope();
    if (!units.Declare(design.name, "design", error)) return false;
    Olm_HdlNameTable scope = kVhdl.NewScope();
    for (const auto& port : design.ports) {
        if (!scope.Declare(port.name, "port", error)) return false;
    }
    for (const auto& net : design.nets) {
        if (!scope.Declare(net.name, "signal", error)) return false;
    }
    for (const auto& prim : design.primitives) {
        if (Olm_HdlPrimitive::SameName(prim.name, design.name)) {
            error = "the design name '" + design.name + "' is also the name of a primitive it uses";
            return false;
        }
        if (!scope.Declare(prim.name, "primitive", error) || !kVhdl.CheckPrimitive(prim, error)) return false;
    }
    std::vector<std::string> labels;
    for (const auto& inst : design.instances) {
        if (design.FindPrimitive(inst.name)) {
            labels.push_back(scope.Fresh(inst.name + "_inst"));
        } else {
            if (!scope.Declare(inst.name, "block", error)) return false;
            labels.push_back(inst.name);
        }
    }

    // Pins fed from several sources get a signal of their own.
    struct Staged {
        std::string signal;   // "" when the pin is mapped directly
        std::string actual;
    };
    std::vector<std::vector<Staged>> staged(design.instances.size());
    std::string signalDecls;
    for (std::size_t i = 0; i < design.instances.size(); ++i) {
        for (const auto& conn : design.instances[i].connections) {
            Staged entry;
            entry.actual = DirectActual(design, conn);
            if (entry.actual.empty()) {
                entry.signal = scope.Fresh(labels[i] + "_" + conn.pin.name);
                entry.actual = entry.signal;
                signalDecls += "    signal " + entry.signal + " : " + PinType(conn.pin) + ";\n";
            }
            staged[i].push_back(entry);
        }
    }

    text += "-- Wrapper of design '" + design.name + "'.\n";
    text += "library ieee;\nuse ieee.std_logic_1164.all;\n\n";
    text += "entity " + design.name + " is\n";
    if (!design.ports.empty()) {
        text += "    port (\n";
        for (std::size_t i = 0; i < design.ports.size(); ++i) {
            const auto& port = design.ports[i];
            text += "        " + port.name + " : " + ModeWord(port.dir) + " " + NetType(port.width, port.isVector) +
                    (i + 1 < design.ports.size() ? ";\n" : "\n");
        }
        text += "    );\n";
    }
    text += "end entity " + design.name + ";\n\n";
    text += "architecture structure of " + design.name + " is\n";
    for (const auto& prim : design.primitives) {
        text += "\n    component " + prim.name + " is\n";
        if (!Interface(prim, "        ", text, error)) return false;
        text += "    end component " + prim.name + ";\n";
    }
    if (!design.nets.empty() || !signalDecls.empty()) {
        text += "\n";
        for (const auto& net : design.nets) {
            text += "    signal " + net.name + " : " + NetType(net.width, net.isVector) + ";\n";
        }
        text += signalDecls;
    }
    text += "\nbegin\n";
    for (std::size_t i = 0; i < design.instances.size(); ++i) {
        const auto& inst = design.instances[i];
        std::string before;
        std::string after;
        for (std::size_t j = 0; j < inst.connections.size(); ++j) {
            const auto& conn = inst.connections[j];
            const std::string& sig = staged[i][j].signal;
            if (sig.empty()) continue;
            for (const auto& run : Olm_HdlDesign::Runs(conn.bits)) {
                const std::string slice = PinSlice(sig, conn.pin, run);
                if (conn.pin.dir == Olm_HdlDir::kIn) {
                    const std::string source =
                        run.kind == Olm_HdlRun::kConst ? ConstText(run.constBits) : NetText(design, run);
                    before += "    " + slice + " <= " + source + ";\n";
                } else if (run.kind == Olm_HdlRun::kNet) {
                    after += "    " + NetText(design, run) + " <= " + slice + ";\n";
                }
            }
        }
        text += "\n" + before;
        text += "    " + labels[i] + " : " + inst.primitive;
        if (inst.params.empty() && inst.connections.empty()) {
            text += ";\n" + after;
            continue;
        }
        text += "\n";
        if (!inst.params.empty()) {
            text += "        generic map (\n";
            for (std::size_t j = 0; j < inst.params.size(); ++j) {
                const auto& param = inst.params[j];
                std::string literal;
                if (!kVhdl.ValueText(param.value, param.kind, literal)) {
                    error = "block '" + inst.name + "': the value of generic '" + param.name +
                            "' holds a character that cannot be written in a string";
                    return false;
                }
                text += "            " + param.name + " => " + literal + (j + 1 < inst.params.size() ? ",\n" : "\n");
            }
            text += "        )\n";
        }
        if (!inst.connections.empty()) {
            text += "        port map (\n";
            for (std::size_t j = 0; j < inst.connections.size(); ++j) {
                text += "            " + inst.connections[j].pin.name + " => " + staged[i][j].actual +
                        (j + 1 < inst.connections.size() ? ",\n" : "\n");
            }
            text += "        )";
        }
        text += ";\n" + after;
    }
    text += "\nend architecture structure;\n";
    return true;
}

bool Olm_VhdlWriter::WriteStubs(const Olm_HdlDesign& design, std::string& text, std::string& error) {
    text.clear();
    text += "-- Black-box declarations of the primitives used by design '" + design.name + "'.\n";
    Olm_HdlNameTable units = kVhdl.NewScope();
    for (const auto& prim : design.primitives) {
        if (!units.Declare(prim.name, "primitive", error) || !kVhdl.CheckPrimitive(prim, error)) return false;
        text += "\nlibrary ieee;\nuse ieee.std_logic_1164.all;\n\n";
        text += "entity " + prim.name + " is\n";
        if (!Interface(prim, "    ", text, error)) return false;
        text += "end entity " + prim.name + ";\n\n";
        text += "architecture black_box of " + prim.name + " is\nbegin\nend architecture black_box;\n";
    }
    return true;
}

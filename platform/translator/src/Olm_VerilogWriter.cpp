#include "translator/Olm_VerilogWriter.h"

#include "Olm_HdlLanguage.h"
#include "translator/Olm_VerilogTranslator.h"

#include <map>

namespace {

// Verilog compares names with case and escapes quotes with a backslash.
constexpr Olm_HdlLanguage kVerilog{&Olm_VerilogTranslator::IsPortnameLegal, false, "parameter", '\\'};

const char* DirWord(Olm_HdlDir dir) {
    switch (dir) {
    case Olm_HdlDir::kIn: return "input";
    case Olm_HdlDir::kOut: return "output";
    case Olm_HdlDir::kInout: return "inout";
    }
    return "input";
}

std::string RangeText(int left, int right) { return "[" + std::to_string(left) + ":" + std::to_string(right) + "] "; }

bool ParamList(const std::string& owner, const std::vector<std::pair<std::string, std::string>>& values,
               const std::vector<Olm_HdlParamKind>& kinds, bool declare, std::string& text, std::string& error) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        std::string literal;
        if (!kVerilog.ValueText(values[i].second, kinds[i], literal)) {
            error = owner + ": the value of parameter '" + values[i].first +
                    "' holds a character that cannot be written in a string";
            return false;
        }
        if (declare) {
            const char* type = kinds[i] == Olm_HdlParamKind::kInteger ? "integer "
                               : kinds[i] == Olm_HdlParamKind::kReal  ? "real "
                                                                      : "";
            text += "    parameter " + std::string(type) + values[i].first + " = " + literal;
        } else {
            text += "        ." + values[i].first + "(" + literal + ")";
        }
        text += i + 1 < values.size() ? ",\n" : "\n";
    }
    return true;
}

// The expression of one pin: a net, a slice, a constant or a concatenation.
std::string Expression(const Olm_HdlDesign& design, const Olm_HdlConnection& conn, const std::string& openWire) {
    const std::vector<Olm_HdlRun> runs = Olm_HdlDesign::Runs(conn.bits);
    std::vector<std::string> parts;
    for (const auto& run : runs) {
        switch (run.kind) {
        case Olm_HdlRun::kOpen:
            if (!conn.pin.isVector) {
                parts.push_back(openWire);
            } else if (run.Width() == static_cast<int>(conn.bits.size())) {
                parts.push_back(openWire);
            } else if (run.posHi == run.posLo) {
                parts.push_back(openWire + "[" + std::to_string(run.posHi) + "]");
            } else {
                parts.push_back(openWire + "[" + std::to_string(run.posHi) + ":" + std::to_string(run.posLo) + "]");
            }
            break;
        case Olm_HdlRun::kConst: {
            const bool allOnes = run.constBits.find('0') == std::string::npos;
            const bool allZeros = run.constBits.find('1') == std::string::npos;
            const std::string width = std::to_string(run.Width());
            if (run.Width() > 1 && allOnes) {
                parts.push_back("{" + width + "{1'b1}}");
            } else if (allZeros) {
                parts.push_back(width + "'b0");
            } else {
                parts.push_back(width + "'b" + run.constBits);
            }
            break;
        }
        case Olm_HdlRun::kNet: {
            int width = 1;
            bool isVector = false;
            design.NetShape(run.net, width, isVector);
            if (run.netMsb < 0) {
                parts.push_back(run.net);
            } else if (run.netMsb == width - 1 && run.netLsb == 0) {
                parts.push_back(run.net);
            } else if (run.netMsb == run.netLsb) {
                parts.push_back(run.net + "[" + std::to_string(run.netMsb) + "]");
            } else {
                parts.push_back(run.net + "[" + std::to_string(run.netMsb) + ":" + std::to_string(run.netLsb) + "]");
            }
            break;
        }
        }
    }
    if (parts.size() == 1) return parts.front();
    std::string out = "{";
    for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? ", " : "") + parts[i];
    return out + "}";
}

bool HasOpenBits(const Olm_HdlConnection& conn) {
    for (const auto& bit : conn.bits) {
        if (bit.kind == Olm_HdlBit::kOpen) return true;
    }
    return false;
}

}  // namespace

bool Olm_VerilogWriter::WriteWrapper(const Olm_HdlDesign& design, std::string& text, std::string& error) {
    text.clear();
    Olm_HdlNameTable modules = kVerilog.NewScope();
    if (!modules.Declare(design.name, "design", error)) return false;
    for (const auto& prim : design.primitives) {
        if (!modules.Declare(prim.name, "primitive", error) || !kVerilog.CheckPrimitive(prim, error)) return false;
    }
    Olm_HdlNameTable scope = kVerilog.NewScope();
    for (const auto& port : design.ports) {
        if (!scope.Declare(port.name, "port", error)) return false;
    }
    for (const auto& net : design.nets) {
        if (!scope.Declare(net.name, "signal", error)) return false;
    }
    for (const auto& inst : design.instances) {
        if (!scope.Declare(inst.name, "block", error)) return false;
    }
    // Wires for output bits that reach nothing, one per pin.
    std::string openDecls;
    std::map<std::pair<std::size_t, std::size_t>, std::string> openWires;
    for (std::size_t i = 0; i < design.instances.size(); ++i) {
        const auto& inst = design.instances[i];
        for (std::size_t j = 0; j < inst.connections.size(); ++j) {
            const auto& conn = inst.connections[j];
            if (!HasOpenBits(conn)) continue;
            const std::string wire = scope.Fresh(inst.name + "_" + conn.pin.name + "_unused");
            openWires[{i, j}] = wire;
            const std::string range = conn.pin.isVector ? RangeText(conn.pin.Width() - 1, 0) : "";
            openDecls += "    wire " + range + wire + ";\n";
        }
    }

    text += "// Wrapper of design '" + design.name + "'.\n";
    if (design.ports.empty()) {
        text += "module " + design.name + ";\n";
    } else {
        text += "module " + design.name + " (\n";
        for (std::size_t i = 0; i < design.ports.size(); ++i) {
            const auto& port = design.ports[i];
            text += "    " + std::string(DirWord(port.dir)) + " wire " +
                    (port.isVector ? RangeText(port.width - 1, 0) : "") + port.name +
                    (i + 1 < design.ports.size() ? ",\n" : "\n");
        }
        text += ");\n";
    }
    if (!design.nets.empty() || !openDecls.empty()) {
        text += "\n";
        for (const auto& net : design.nets) {
            text += "    wire " + (net.isVector ? RangeText(net.width - 1, 0) : "") + net.name + ";\n";
        }
        text += openDecls;
    }
    for (std::size_t i = 0; i < design.instances.size(); ++i) {
        const auto& inst = design.instances[i];
        text += "\n    " + inst.primitive;
        if (!inst.params.empty()) {
            std::vector<std::pair<std::string, std::string>> values;
            std::vector<Olm_HdlParamKind> kinds;
            for (const auto& param : inst.params) {
                values.emplace_back(param.name, param.value);
                kinds.push_back(param.kind);
            }
            text += " #(\n";
            if (!ParamList("block '" + inst.name + "'", values, kinds, false, text, error)) return false;
            text += "    )";
        }
        text += " " + inst.name + " (\n";
        for (std::size_t j = 0; j < inst.connections.size(); ++j) {
            const auto& conn = inst.connections[j];
            const auto open = openWires.find({i, j});
            text += "        ." + conn.pin.name + "(" +
                    Expression(design, conn, open == openWires.end() ? std::string() : open->second) + ")" +
                    (j + 1 < inst.connections.size() ? ",\n" : "\n");
        }
        text += "    );\n";
    }
    text += "\nendmodule\n";
    return true;
}

bool Olm_VerilogWriter::WriteStubs(const Olm_HdlDesign& design, std::string& text, std::string& error) {
    text.clear();
    text += "// Black-box declarations of the primitives used by design '" + design.name + "'.\n";
    Olm_HdlNameTable modules = kVerilog.NewScope();
    for (const auto& prim : design.primitives) {
        if (!modules.Declare(prim.name, "primitive", error) || !kVerilog.CheckPrimitive(prim, error)) return false;
        std::vector<std::pair<std::string, std::string>> values;
        std::vector<Olm_HdlParamKind> kinds;
        for (const auto& param : prim.params) {
            values.emplace_back(param.name, param.defaultValue);
            kinds.push_back(param.kind);
        }
        text += "\nmodule " + prim.name;
        if (!values.empty()) {
            text += " #(\n";
            if (!ParamList("primitive '" + prim.name + "'", values, kinds, true, text, error)) return false;
            text += ")";
        }
        if (prim.pins.empty()) {
            text += ";\n";
        } else {
            text += " (\n";
            for (std::size_t i = 0; i < prim.pins.size(); ++i) {
                const auto& pin = prim.pins[i];
                text += "    " + std::string(DirWord(pin.dir)) + " wire " +
                        (pin.isVector ? RangeText(pin.left, pin.right) : "") + pin.name +
                        (i + 1 < prim.pins.size() ? ",\n" : "\n");
            }
            text += ");\n";
        }
        text += "endmodule\n";
    }
    return true;
}

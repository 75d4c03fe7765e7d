// olmwiz hdl --kfz FILE --lang verilog|vhdl -o FILE [--stubs FILE]: writes
// the HDL wrapper of a design file and, on request, black-box declarations of
// the primitives it uses, built from the installed wizard data files.

#include "ArgParser.h"
#include "Commands.h"
#include "StderrReports.h"

#include "datafiles/Olm_Data.h"
#include "engine/Olm_Engine.h"
#include "model/Olm_Attribute.h"
#include "model/Olm_Block.h"
#include "model/Olm_Pin.h"
#include "model/Olm_WizData.h"
#include "pal/MsgMan.h"
#include "translator/Olm_HdlDesign.h"
#include "translator/Olm_Translator.h"
#include "translator/Olm_VerilogWriter.h"
#include "translator/Olm_VhdlWriter.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace olmwiz {

namespace {

constexpr const char* kHelp =
    "Usage: olmwiz hdl --kfz FILE --lang verilog|vhdl -o FILE [--stubs FILE]\n\n"
    "Writes the HDL wrapper of a design file: a module (Verilog) or an entity\n"
    "(VHDL) named after the design file without \".kfz\", with a port per external\n"
    "signal and an instance per block of the design.\n\n"
    "Options:\n"
    "  -k, --kfz FILE      the design file to read\n"
    "  -l, --lang LANG     verilog or vhdl\n"
    "  -o, --output FILE   the wrapper file to write\n"
    "  -s, --stubs FILE    also write black-box declarations of the primitives used,\n"
    "                      so that a simulator can elaborate the wrapper\n"
    "  -h, --help          show this help\n\n"
    "The primitives are looked up in the installed wizard data files\n"
    "($OLMW_DATA_DIR when it is set, otherwise the installation's data folder).\n\n"
    "Exit codes: 0 written, 1 the design could not be read or the files not\n"
    "written, 2 wrong usage.\n";

// The wizard types whose data files are searched, in this order; the
// transceiver data is chosen by family, so both transceiver files are tried.
struct DataSource {
    const char* wizType;
    bool altFamily;  // the other transceiver file than the design's family picks
};
constexpr DataSource kDataSources[] = {
    {"tkl", false}, {"dsp", false}, {"ssio", false}, {"hsx", false}, {"hsx", true},
};

Olm_HdlDir DirOfModel(const Pal::String& direction) {
    if (direction == "OUT") return Olm_HdlDir::kOut;
    if (direction == "INOUT") return Olm_HdlDir::kInout;
    return Olm_HdlDir::kIn;
}

// The largest bit number of a data-file pin that is believed, the bound the
// wrapper puts on the widths in a design file: the wrapper keeps an entry per
// bit of every pin, so a width of many millions would take minutes and
// gigabytes.
constexpr int kMaxBit = 1000000;

bool BitBelievable(int bit) { return bit >= -kMaxBit && bit <= kMaxBit; }

// Adds the pins and parameters of one data-file block to its primitive; a
// pin whose bits are not believable is declared as one bit, with a warning.
void AddBlock(Olm_Block& block, Olm_HdlPrimitive& prim, std::vector<std::string>& warnings) {
    for (const Olm_Pin* pin : block.GetPinList()) {
        Olm_HdlPrimitivePin out;
        out.name = pin->GetName().str();
        out.dir = DirOfModel(pin->GetDirection());
        out.left = pin->GetStartBit();
        out.right = pin->GetEndBit();
        if (!BitBelievable(out.left) || !BitBelievable(out.right)) {
            warnings.push_back("the installed data gives pin '" + out.name + "' of primitive '" + prim.name +
                               "' the bits [" + std::to_string(out.left) + ":" + std::to_string(out.right) +
                               "]; it is declared as one bit");
            out.left = out.right = 0;
        }
        out.isVector = pin->HasBus() || out.Width() > 1;
        prim.AddPin(out);
    }
    const bool hsx = block.SupportsHSX10() || block.SupportsHSX11();
    for (const Olm_Attribute* attr : block.GetAttributeList()) {
        Pal::String name = attr->GetName();
        if (Olm_Translator::IsBlkPropIgnored(name, block.GetPrimType(), hsx)) continue;
        Olm_HdlPrimitiveParam param;
        param.name = name.str();
        param.defaultValue = attr->GetDefaultValue().str();
        std::vector<std::string> values{param.defaultValue};
        const Olm_StrArray& possible = attr->GetPossibleValues();
        for (int i = 0; i < possible.GetSize(); ++i) values.push_back(possible.GetAt(i).str());
        param.kind = Olm_HdlPrimitive::KindOfValues(values);
        prim.AddParam(param);
    }
}

// Every primitive of the installed data files. A primitive is taken from the
// first file that has it; several blocks of it in that file add up.
std::vector<Olm_HdlPrimitive> LoadPrimitives(const std::string& family, int& filesRead,
                                             std::vector<std::string>& warnings) {
    std::vector<Olm_HdlPrimitive> library;
    filesRead = 0;
    // The loader reports a missing file through the message manager; a file
    // that is not installed only means fewer known primitives.
    const Pal::MsgMan::Handler previous = Pal::MsgMan::setHandler([](const Pal::MsgMan::Report&) {});
    const std::string otherFamily = Pal::String(family.c_str()).Compare("korvo4", 1) == 0 ? "" : "korvo4";
    for (const DataSource& source : kDataSources) {
        Olm_Data data;
        if (!data.ReadDataFile(source.wizType, source.altFamily ? otherFamily : family) || !data.GetWizData()) {
            continue;
        }
        ++filesRead;
        const std::size_t known = library.size();
        for (Olm_Block* block : data.GetWizData()->GetBlkList()) {
            const std::string type = block->GetPrimType().str();
            Olm_HdlPrimitive* prim = nullptr;
            bool earlier = false;
            for (std::size_t i = 0; i < library.size(); ++i) {
                if (Olm_HdlPrimitive::SameName(library[i].name, type)) {
                    earlier = i < known;
                    prim = &library[i];
                    break;
                }
            }
            if (earlier) continue;  // an earlier file has it
            if (!prim) {
                library.push_back(Olm_HdlPrimitive{type, {}, {}});
                prim = &library.back();
            }
            AddBlock(*block, *prim, warnings);
        }
    }
    Pal::MsgMan::setHandler(previous);
    return library;
}

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    return !out.fail();
}

}  // namespace

int RunHdl(const std::vector<std::string>& args) {
    ArgParser parser("olmwiz hdl", kHelp);
    parser.AddOption("kfz", 'k', true);
    parser.AddOption("lang", 'l', true);
    parser.AddOption("output", 'o', true);
    parser.AddOption("stubs", 's', true);
    if (const int exitCode = parser.ParseCommand(args); exitCode != ArgParser::kParsed) return exitCode;
    const char* missing = !parser.Has("kfz")      ? "--kfz"
                          : !parser.Has("lang")   ? "--lang"
                          : !parser.Has("output") ? "-o"
                                                  : nullptr;
    if (missing) return parser.Usage(std::string(missing) + " is required");
    if (const int exitCode = parser.RejectPositional(); exitCode != ArgParser::kParsed) return exitCode;
    const std::string lang = parser.Value("lang");
    if (lang != "verilog" && lang != "vhdl") return parser.Usage("unknown language '" + lang + "' (verilog or vhdl)");
    const std::string kfzPath = parser.Value("kfz");
    const std::string outPath = parser.Value("output");
    const std::string stubsPath = parser.Value("stubs");
    if (outPath.empty() || (parser.Has("stubs") && stubsPath.empty()))
        return parser.Usage("an output file name is empty");

    Olm_Engine engine;
    Pal::String loadError;
    if (!engine.Load(kfzPath.c_str(), &loadError)) return parser.Fail(loadError.str());
    int filesRead = 0;
    std::vector<std::string> dataWarnings;
    const std::vector<Olm_HdlPrimitive> library = LoadPrimitives(engine.GetFamily().str(), filesRead, dataWarnings);
    for (const auto& warning : dataWarnings) {
        std::fprintf(stderr, "olmwiz hdl: warning: %s\n", StderrReports::Printable(warning).c_str());
    }
    if (filesRead == 0) {
        std::fprintf(stderr, "olmwiz hdl: warning: no installed wizard data file could be read; the primitives "
                             "are declared from the design alone\n");
    }

    Olm_HdlDesign design;
    std::string error;
    if (!design.Build(engine.GetDesign(), Olm_HdlDesign::DesignNameFromPath(kfzPath), library, error))
        return parser.Fail("'" + kfzPath + "': " + error);
    for (const auto& warning : design.warnings) {
        std::fprintf(stderr, "olmwiz hdl: warning: '%s': %s\n", kfzPath.c_str(),
                     StderrReports::Printable(warning).c_str());
    }
    std::string wrapper;
    std::string stubs;
    const bool verilog = lang == "verilog";
    const bool written = verilog ? Olm_VerilogWriter::WriteWrapper(design, wrapper, error)
                                 : Olm_VhdlWriter::WriteWrapper(design, wrapper, error);
    const bool stubsWritten = !parser.Has("stubs") || (verilog ? Olm_VerilogWriter::WriteStubs(design, stubs, error)
                                                               : Olm_VhdlWriter::WriteStubs(design, stubs, error));
    if (!written || !stubsWritten) {
        return parser.Fail(std::string("cannot write the ") + (verilog ? "Verilog" : "VHDL") + " of '" + kfzPath +
                           "': " + error);
    }
    if (!WriteText(outPath, wrapper)) return parser.Fail("cannot write '" + outPath + "'");
    if (parser.Has("stubs") && !WriteText(stubsPath, stubs)) return parser.Fail("cannot write '" + stubsPath + "'");
    return kExitOk;
}

}  // namespace olmwiz

#include "kit/Olm_HdlGenerator.h"

#include "datafiles/Olm_Data.h"
#include "engine/Olm_KfzDesign.h"
#include "model/Olm_Attribute.h"
#include "model/Olm_Block.h"
#include "model/Olm_Pin.h"
#include "model/Olm_WizData.h"
#include "pal/MsgMan.h"
#include "pal/StrUtil.h"
#include "translator/Olm_HdlDesign.h"
#include "translator/Olm_HdlPrimitive.h"
#include "translator/Olm_Translator.h"
#include "translator/Olm_VerilogWriter.h"
#include "translator/Olm_VhdlWriter.h"

namespace {

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

}  // namespace

bool Olm_HdlGenerator::LanguageOf(std::string_view name, Language& language) {
    if (Pal::StrUtil::EqualNoCase(name, "verilog")) language = Language::Verilog;
    else if (Pal::StrUtil::EqualNoCase(name, "vhdl")) language = Language::Vhdl;
    else return false;
    return true;
}

const char* Olm_HdlGenerator::Extension(Language language) { return language == Language::Verilog ? ".v" : ".vhd"; }

Olm_HdlGenerator::Olm_HdlGenerator(std::string family) : m_family(std::move(family)) {}

Olm_HdlGenerator::~Olm_HdlGenerator() = default;

const std::vector<std::string>& Olm_HdlGenerator::DataWarnings() {
    LoadPrimitives();
    return m_dataWarnings;
}

int Olm_HdlGenerator::DataFilesRead() {
    LoadPrimitives();
    return m_filesRead;
}

// Every primitive of the installed data files. A primitive is taken from the
// first file that has it; several blocks of it in that file add up.
void Olm_HdlGenerator::LoadPrimitives() {
    if (m_loaded) return;
    m_loaded = true;
    // The loader reports a missing file through the message manager; a file
    // that is not installed only means fewer known primitives.
    const Pal::MsgMan::Handler previous = Pal::MsgMan::setHandler([](const Pal::MsgMan::Report&) {});
    const std::string otherFamily = Pal::StrUtil::EqualNoCase(m_family, "korvo4") ? "" : "korvo4";
    for (const DataSource& source : kDataSources) {
        Olm_Data data;
        if (!data.ReadDataFile(source.wizType, source.altFamily ? otherFamily : m_family) || !data.GetWizData())
            continue;
        ++m_filesRead;
        const std::size_t known = m_library.size();
        for (Olm_Block* block : data.GetWizData()->GetBlkList()) {
            const std::string type = block->GetPrimType().str();
            Olm_HdlPrimitive* prim = nullptr;
            bool earlier = false;
            for (std::size_t i = 0; i < m_library.size(); ++i) {
                if (Olm_HdlPrimitive::SameName(m_library[i].name, type)) {
                    earlier = i < known;
                    prim = &m_library[i];
                    break;
                }
            }
            if (earlier) continue;  // an earlier file has it
            if (!prim) {
                m_library.push_back(Olm_HdlPrimitive{type, {}, {}});
                prim = &m_library.back();
            }
            AddBlock(*block, *prim, m_dataWarnings);
        }
    }
    Pal::MsgMan::setHandler(previous);
}

bool Olm_HdlGenerator::Check(const Olm_KfzDesign& design, const std::string& designName,
                             std::vector<Olm_DesignFinding>& findings, std::string& error) {
    LoadPrimitives();
    m_warnings.clear();
    m_findings.clear();
    findings.clear();
    Olm_HdlDesign view;
    if (!view.Build(design, designName, m_library, error)) return false;
    m_warnings = view.warnings;
    m_findings = Olm_DesignRules::Check(view);
    ++m_ruleRuns;
    findings = m_findings;
    return true;
}

bool Olm_HdlGenerator::Write(const Olm_KfzDesign& design, const std::string& designName, Language language,
                             std::string& wrapper, std::string* stubs, std::string& error, Rules rules) {
    LoadPrimitives();
    m_warnings.clear();
    m_findings.clear();
    Olm_HdlDesign view;
    m_designRefused = !view.Build(design, designName, m_library, error);
    if (m_designRefused) return false;
    m_warnings = view.warnings;
    // A design that breaks a design rule would be wrong hardware: no HDL.
    if (rules == Rules::kCheck) {
        m_findings = Olm_DesignRules::Check(view);
        ++m_ruleRuns;
    }
    if (!m_findings.empty()) {
        m_designRefused = true;
        error = Olm_DesignRules::Report(m_findings);
        return false;
    }
    const bool verilog = language == Language::Verilog;
    if (!(verilog ? Olm_VerilogWriter::WriteWrapper(view, wrapper, error)
                  : Olm_VhdlWriter::WriteWrapper(view, wrapper, error)))
        return false;
    if (stubs && !(verilog ? Olm_VerilogWriter::WriteStubs(view, *stubs, error)
                           : Olm_VhdlWriter::WriteStubs(view, *stubs, error)))
        return false;
    return true;
}

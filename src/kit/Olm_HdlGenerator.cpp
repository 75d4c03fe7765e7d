#include "kit/Olm_HdlGenerator.h"

#include "datafiles/Olm_Data.h"
#include "datafiles/Olm_DataFileReader.h"
#include "datafiles/Olm_DataTypes.h"
#include "devinfo/DevData.h"
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

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

namespace {

namespace fs = std::filesystem;

// The wizard types whose data files are searched, in this order; the
// transceiver data is chosen by family, so both transceiver files are tried.
struct DataSource {
    const char* wizType;
    bool altFamily;  // the other transceiver file than the design's family picks
};
constexpr DataSource kDataSources[] = {
    {OlmConst::kWizPrefixTkl, false}, {OlmConst::kWizPrefixDsp, false}, {OlmConst::kWizPrefixSsi, false},
    {OlmConst::kWizPrefixHsx, false}, {OlmConst::kWizPrefixHsx, true},
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
    return Olm_HdlLanguageNames::FromName(name, language);
}

const char* Olm_HdlGenerator::Extension(Language language) { return Olm_HdlLanguageNames::Extension(language); }

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

// Every primitive of the installed data files: those of the reference
// wizard types first, then those of every other data file in the data folder
// (a wizard of another maker's primitives keeps its data there), in the order
// of their names. A primitive is taken from the first file that has it;
// several blocks of it in that file add up.
void Olm_HdlGenerator::LoadPrimitives() {
    if (m_loaded) return;
    m_loaded = true;
    // The loader reports a missing file through the message manager; a file
    // that is not installed only means fewer known primitives.
    const Pal::MsgMan::Handler previous = Pal::MsgMan::setHandler([](const Pal::MsgMan::Report&) {});
    const std::string otherFamily = Pal::StrUtil::EqualNoCase(m_family, "korvo4") ? "" : "korvo4";
    // The files already read, by their canonical path.
    std::set<std::string> read;
    const auto key = [](const std::string& path) {
        std::error_code ec;
        const fs::path canonical = fs::weakly_canonical(path, ec);
        return ec ? path : canonical.string();
    };
    for (const DataSource& source : kDataSources) {
        Olm_Data data;
        const std::string family = source.altFamily ? otherFamily : m_family;
        if (!data.ReadDataFile(source.wizType, family) || !data.GetWizData()) continue;
        Pal::String path;
        if (data.GetDataFileName(Olm_Data::DataFileName(source.wizType, family), path)) read.insert(key(path.str()));
        AddPrimitives(*data.GetWizData());
    }
    // Then the data files beside the built-in ones: those registered for a
    // data type (by wizard plugins) in this process or in the one that
    // started it (olmwiz-hdl loads no plugin), then every other "*.dev" file
    // of each data folder (the folders of OLMW_DATA_PATH, then the installed
    // one), in the order of their names: a wizard of another maker's
    // primitives keeps its data there.
    std::vector<std::string> extra = Olm_DataTypes::HandedDownFiles();
    for (const Olm_DataTypes::Entry& entry : Olm_DataTypes::Registered()) {
        Pal::String path;
        if (Olm_Data().GetDataFileName(entry.file.c_str(), path)) extra.push_back(path.str());
    }
    for (const std::string& folder : DevSpec::getdatafolders()) {
        std::error_code ec;
        std::vector<std::string> files;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code typeError;  // a file that cannot be looked at is left out
            if (it->path().extension() == ".dev" && it->is_regular_file(typeError)) files.push_back(it->path().string());
        }
        std::sort(files.begin(), files.end());
        extra.insert(extra.end(), files.begin(), files.end());
    }
    for (const std::string& path : extra) {
        if (!read.insert(key(path)).second) continue;
        Olm_DataFileReader reader;
        Olm_WizData wizData;
        if (reader.Open(path.c_str()) && reader.ReadFile(&wizData)) {
            AddPrimitives(wizData);
        } else {
            m_dataWarnings.push_back("the data file '" + path +
                                     "' cannot be read; its primitives are declared from the design alone");
        }
    }
    Pal::MsgMan::setHandler(previous);
}

void Olm_HdlGenerator::AddPrimitives(Olm_WizData& data) {
    ++m_filesRead;
    const std::size_t known = m_library.size();
    for (Olm_Block* block : data.GetBlkList()) {
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

bool Olm_HdlGenerator::View(const Olm_KfzDesign& design, const std::string& designName, Olm_HdlDesign& view,
                            std::string& error) {
    LoadPrimitives();
    view = Olm_HdlDesign();
    return view.Build(design, designName, m_library, error);
}

bool Olm_HdlGenerator::Write(const Olm_KfzDesign& design, const std::string& designName, Language language,
                             std::string& wrapper, std::string* stubs, std::string& error, Rules rules) {
    m_warnings.clear();
    m_findings.clear();
    Olm_HdlDesign view;
    m_designRefused = !View(design, designName, view, error);
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

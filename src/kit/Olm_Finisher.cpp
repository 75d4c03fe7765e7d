#include "kit/Olm_Finisher.h"

#include "engine/Olm_Engine.h"
#include "kfz/Olm_KfzWizData.h"
#include "pal/File.h"
#include "pal/Process.h"
#include "proof/Olm_TestbenchWriter.h"

#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <system_error>

#ifndef OLM_HDL_TOOL_REL_PATH
#error "OLM_HDL_TOOL_REL_PATH must give olmwiz-hdl relative to the library folder"
#endif

namespace {

namespace fs = std::filesystem;

// A scratch folder inside the output folder, removed with everything in it
// when it goes.
class ScratchFolder {
public:
    ScratchFolder(const std::string& outputDir, const std::string& design) {
        std::string pattern = (fs::path(outputDir) / ("." + design + ".olmwiz-XXXXXX")).string();
        if (::mkdtemp(pattern.data())) m_path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ec;
        if (!m_path.empty()) fs::remove_all(m_path, ec);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) text += (i ? ", " : "") + names[i];
    return text;
}

}  // namespace

Olm_Finisher::Olm_Finisher(Olm_KfzWizData& bridge, std::string outputDir, std::string design)
    : m_bridge(bridge), m_outputDir(std::move(outputDir)), m_design(std::move(design)) {}

Olm_Finisher::~Olm_Finisher() = default;

void Olm_Finisher::SetHdl(Olm_HdlGenerator::Language language) {
    m_hdl = true;
    m_language = language;
}

void Olm_Finisher::SetHdlGenerator(Olm_HdlGenerator* generator) { m_generator = generator; }

void Olm_Finisher::SetHdlTool(std::string program, std::vector<std::string> arguments, ChildWait wait) {
    m_tool = std::move(program);
    m_toolArguments = std::move(arguments);
    m_wait = std::move(wait);
}

std::string Olm_Finisher::InstalledHdlTool() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&Olm_Finisher::InstalledHdlTool), &info) == 0 || !info.dli_fname) return {};
    std::error_code ec;
    const fs::path library = fs::canonical(info.dli_fname, ec);
    if (ec) return {};
    const fs::path tool = (library.parent_path() / OLM_HDL_TOOL_REL_PATH).lexically_normal();
    return fs::is_regular_file(tool, ec) ? tool.string() : std::string();
}

std::string Olm_Finisher::DesignFile() const { return (fs::path(m_outputDir) / (m_design + ".kfz")).string(); }

std::string Olm_Finisher::HdlFile() const {
    if (!m_hdl) return {};
    return (fs::path(m_outputDir) / (m_design + Olm_HdlGenerator::Extension(m_language))).string();
}

std::string Olm_Finisher::ConstraintFile() const {
    return (fs::path(m_outputDir) / (m_design + "_olmw.pkx")).string();
}

std::string Olm_Finisher::TestbenchFile() const {
    if (!m_hdl || !m_testbench) return {};
    return (fs::path(m_outputDir) / Olm_TestbenchWriter::FileName(m_design, m_language)).string();
}

bool Olm_Finisher::Fail(std::string error) {
    m_error = std::move(error);
    return false;
}

bool Olm_Finisher::Run(const std::string& constraintText) {
    m_error.clear();
    m_written.clear();
    Olm_Engine* engine = m_bridge.GetEnginePtr();
    if (!engine || !m_bridge.GetWizDataPtr()) return Fail("The wizard has no design to write.");
    engine->NewDesign();
    if (!m_bridge.SaveWizDataToEngine()) return Fail("Could not store the configuration in the design.");
    // The design rules first: a design that breaks one is wrong hardware, and
    // no file of it is written.
    std::vector<Olm_DesignFinding> findings;
    std::string checkError;
    if (!Generator().Check(engine->GetDesign(), m_design, findings, checkError))
        return Fail("Could not check the design " + m_design + ": " + checkError + " Nothing is written.");
    if (!findings.empty())
        return Fail("The design " + m_design + " is refused and nothing is written. " +
                    Olm_DesignRules::Report(findings));

    const ScratchFolder scratch(m_outputDir, m_design);
    if (scratch.Path().empty()) return Fail("Could not make a scratch folder in " + m_outputDir + ".");
    const fs::path staged(scratch.Path());
    // The design file goes first: the HDL child reads it, and the module is
    // named after it.
    std::vector<std::pair<std::string, std::string>> moves;  // staged file, final file
    moves.emplace_back((staged / (m_design + ".kfz")).string(), DesignFile());
    Pal::String error;
    if (!engine->Save(moves.back().first.c_str(), &error))
        return Fail("Could not write the design file " + DesignFile() + ": " + error.str());
    if (m_hdl) {
        moves.emplace_back((staged / fs::path(HdlFile()).filename()).string(), HdlFile());
        if (!WriteHdl(moves[0].first, moves.back().first)) return false;
        moves.emplace_back((staged / fs::path(ConstraintFile()).filename()).string(), ConstraintFile());
        if (!Pal::File::writeText(moves.back().first.c_str(), constraintText))
            return Fail("Could not write the constraint template " + ConstraintFile() + ".");
        if (m_testbench) {
            moves.emplace_back((staged / fs::path(TestbenchFile()).filename()).string(), TestbenchFile());
            if (!WriteTestbench(moves[0].first, moves.back().first)) return false;
        }
    }

    for (const auto& [from, to] : moves) {
        std::error_code ec;
        fs::rename(from, to, ec);
        if (!ec) {
            m_written.push_back(to);
            continue;
        }
        std::vector<std::string> left;
        for (std::size_t i = m_written.size(); i < moves.size(); ++i) left.push_back(moves[i].second);
        std::string text = "Could not move " + to + " into place: " + ec.message() + ".";
        if (!m_written.empty())
            text += " These files were written: " + Joined(m_written) + "; these were not: " + Joined(left) + ".";
        return Fail(std::move(text));
    }
    return true;
}

Olm_HdlGenerator& Olm_Finisher::Generator() {
    if (!m_generator) {
        m_ownGenerator = std::make_unique<Olm_HdlGenerator>(m_bridge.GetEnginePtr()->GetFamily().str());
        m_generator = m_ownGenerator.get();
    }
    return *m_generator;
}

bool Olm_Finisher::WriteHdl(const std::string& stagedKfz, const std::string& stagedHdl) {
    if (m_tool.empty()) {
        // From the design file as written, as the child process would read it.
        Olm_Engine written;
        Pal::String loadError;
        if (!written.Load(stagedKfz.c_str(), &loadError))
            return Fail("Could not read back the design file " + DesignFile() + ": " + loadError.str());
        std::string text, error;
        if (!Generator().Write(written.GetDesign(), m_design, m_language, text, nullptr, error))
            return Fail("Could not write the HDL file " + HdlFile() + ": " + error);
        if (!Pal::File::writeText(stagedHdl.c_str(), text)) return Fail("Could not write the HDL file " + HdlFile() + ".");
        return true;
    }

    std::vector<Pal::String> argv = {m_tool};
    argv.insert(argv.end(), m_toolArguments.begin(), m_toolArguments.end());
    argv.insert(argv.end(), {"--kfz", stagedKfz, "--lang", m_language == Olm_HdlGenerator::Language::Verilog ? "verilog" : "vhdl",
                             "-o", stagedHdl});
    std::fflush(stdout);
    Pal::Process child;
    if (!child.Start(argv))
        return Fail("Could not start the HDL generator " + m_tool + ": " + child.GetError().str());
    int exitCode = 0;
    if (m_wait) {
        exitCode = m_wait(child);
        if (exitCode < 0) {
            child.Kill();
            child.Wait();
            return Fail("The generation of the HDL file " + HdlFile() + " was cancelled.");
        }
    } else {
        exitCode = child.Wait() == Pal::Process::kEnded ? child.GetChildRetcode() : 1;
    }
    if (exitCode != 0)
        return Fail("The HDL generator failed (exit code " + std::to_string(exitCode) + ") while writing " + HdlFile() +
                    ".");
    return true;
}

bool Olm_Finisher::WriteTestbench(const std::string& stagedKfz, const std::string& stagedTestbench) {
    // From the design file as written: the testbench checks the requests it
    // keeps, whatever the wrapper says.
    Olm_Engine written;
    Pal::String loadError;
    if (!written.Load(stagedKfz.c_str(), &loadError))
        return Fail("Could not read back the design file " + DesignFile() + ": " + loadError.str());
    std::string text, error;
    if (!Olm_TestbenchWriter::Write(written.GetDesign(), m_design, m_language, text, error))
        return Fail("Could not write the testbench " + TestbenchFile() + ": " + error + ".");
    if (!Pal::File::writeText(stagedTestbench.c_str(), text))
        return Fail("Could not write the testbench " + TestbenchFile() + ".");
    return true;
}

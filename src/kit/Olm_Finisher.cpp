#include "kit/Olm_Finisher.h"

#include "engine/Olm_Engine.h"
#include "kfz/Olm_KfzWizData.h"
#include "pal/File.h"
#include "pal/FileCompare.h"
#include "pal/OutputFile.h"
#include "pal/Process.h"
#include "proof/Olm_TestbenchWriter.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <system_error>

#ifndef OLM_HDL_TOOL_REL_PATH
#error "OLM_HDL_TOOL_REL_PATH must give olmwiz-hdl relative to the library folder"
#endif

namespace {

namespace fs = std::filesystem;

constexpr const char* kScratchInfix = ".olmwiz-";
constexpr std::size_t kScratchRandomChars = 6;

bool IsScratchOf(const std::string& name, const std::string& design) {
    const std::string prefix = "." + design + kScratchInfix;
    if (name.size() != prefix.size() + kScratchRandomChars || !name.starts_with(prefix)) return false;
    return std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// A scratch folder inside the output folder, removed with everything in it
// when it goes. It is locked while it lives, so that a run of the same design
// can tell it from one left by a run that was killed.
class ScratchFolder {
public:
    ScratchFolder(const std::string& outputDir, const std::string& design) {
        Olm_Finisher::RemoveStaleScratch(outputDir, design);
        std::string pattern = (fs::path(outputDir) / ("." + design + kScratchInfix + "XXXXXX")).string();
        if (!::mkdtemp(pattern.data())) return;
        m_path = pattern;
        m_lock = ::open(m_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (m_lock >= 0) ::flock(m_lock, LOCK_EX | LOCK_NB);
    }
    ~ScratchFolder() {
        std::error_code ec;
        if (!m_path.empty()) fs::remove_all(m_path, ec);
        if (m_lock >= 0) ::close(m_lock);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    int m_lock = -1;
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

void Olm_Finisher::RemoveStaleScratch(const std::string& outputDir, const std::string& design) {
    std::error_code ec;
    std::vector<fs::path> stale;
    for (fs::directory_iterator it(outputDir.empty() ? "." : outputDir, ec), end; !ec && it != end; it.increment(ec)) {
        if (IsScratchOf(it->path().filename().string(), design) && it->is_directory(ec) && !it->is_symlink(ec))
            stale.push_back(it->path());
    }
    for (const fs::path& folder : stale) {
        const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) fs::remove_all(folder, ec);  // no run holds it
        ::close(fd);
    }
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
    m_files.clear();
    m_states.clear();
    m_contents.clear();
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

    // The files are replaced by renames: a FIFO, a device or a folder in
    // the place of one would be replaced too, so the run stops first.
    for (const std::string& file :
         {DesignFile(), HdlFile(), m_hdl ? ConstraintFile() : std::string(), TestbenchFile()}) {
        struct stat status {};
        if (!file.empty() && ::stat(file.c_str(), &status) == 0 && !S_ISREG(status.st_mode))
            return Fail("Could not write " + file + ": it is not a regular file.");
    }

    // Every file's bytes first, in memory: the design file goes first, the
    // HDL file is made from it as a reader of the file would see it.
    struct Planned {
        std::string path;   // final
        std::string bytes;
        std::string staged;  // in the scratch folder, when already written there
    };
    std::vector<Planned> files;
    files.push_back({DesignFile(), {}, {}});
    Pal::String error;
    if (!engine->SaveText(files[0].bytes, DesignFile().c_str(), &error))
        return Fail("Could not write the design file " + DesignFile() + ": " + error.str());

    // The scratch folder is made only when a file is to be written, or for
    // the HDL child, which reads and writes files.
    std::unique_ptr<ScratchFolder> scratch;
    const auto stagedPath = [&](const std::string& final) -> std::string {
        if (!scratch) {
            scratch = std::make_unique<ScratchFolder>(m_outputDir, m_design);
            if (scratch->Path().empty()) return {};
        }
        return (fs::path(scratch->Path()) / fs::path(final).filename()).string();
    };
    const std::string noScratch = "Could not make a scratch folder in " + m_outputDir + ".";
    if (m_hdl) {
        files.push_back({HdlFile(), {}, {}});
        if (m_tool.empty() || m_checkOnly) {
            if (!HdlInProcess(files[0].bytes, files[1].bytes)) return false;
        } else {
            files[0].staged = stagedPath(files[0].path);
            if (files[0].staged.empty()) return Fail(noScratch);
            if (!engine->Save(files[0].staged.c_str(), &error))
                return Fail("Could not write the design file " + DesignFile() + ": " + error.str());
            files[1].staged = stagedPath(files[1].path);
            if (!HdlByTool(files[0].staged, files[1].staged)) return false;
            Pal::InputCheck check;
            if (!Pal::File::readInput(files[1].staged.c_str(), Pal::File::kNoLimit, files[1].bytes, check))
                return Fail("Could not read back the HDL file " + HdlFile() + ".");
        }
        files.push_back({ConstraintFile(), constraintText, {}});
        if (m_testbench) {
            files.push_back({TestbenchFile(), {}, {}});
            if (!TestbenchText(files[0].bytes, files.back().bytes)) return false;
        }
    }

    // What is there already: an unchanged file is left alone.
    std::vector<std::size_t> toWrite;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const Pal::FileCompare::State state = Pal::FileCompare::Compare(files[i].path, files[i].bytes);
        m_files.push_back(files[i].path);
        if (state == Pal::FileCompare::State::kSame) {
            m_states.push_back(Olm_FileState::kUnchanged);
        } else if (m_checkOnly) {
            m_states.push_back(state == Pal::FileCompare::State::kMissing ? Olm_FileState::kNew
                                                                          : Olm_FileState::kChanged);
        } else {
            m_states.push_back(Olm_FileState::kWritten);
            toWrite.push_back(i);
        }
    }
    if (m_checkOnly) {
        for (Planned& file : files) m_contents.push_back(std::move(file.bytes));
        return true;
    }
    const std::vector<std::string> allFiles = std::move(m_files);
    const std::vector<Olm_FileState> allStates = std::move(m_states);
    m_files.clear();
    m_states.clear();

    // The files to write are staged first and moved into place together.
    for (const std::size_t i : toWrite) {
        Planned& file = files[i];
        if (!file.staged.empty()) continue;
        file.staged = stagedPath(file.path);
        if (file.staged.empty()) return Fail(noScratch);
        if (i == 0) {
            if (!engine->Save(file.staged.c_str(), &error))
                return Fail("Could not write the design file " + DesignFile() + ": " + error.str());
        } else if (std::string reason; !Pal::OutputFile::WriteWhole(file.staged, file.bytes, reason)) {
            const std::string what = file.path == HdlFile()         ? "the HDL file "
                                     : file.path == ConstraintFile() ? "the constraint template "
                                                                     : "the testbench ";
            return Fail("Could not write " + what + file.path + ": " + reason + ".");
        }
    }
    for (std::size_t n = 0; n < toWrite.size(); ++n) {
        const Planned& file = files[toWrite[n]];
        // A file replaced keeps its permissions (a read-only design file stays read-only).
        if (struct stat status {}; ::stat(file.path.c_str(), &status) == 0)
            ::chmod(file.staged.c_str(), status.st_mode & 07777);
        std::error_code ec;
        fs::rename(file.staged, file.path, ec);
        if (!ec) {
            m_written.push_back(file.path);
            m_files.push_back(file.path);
            m_states.push_back(Olm_FileState::kWritten);
            continue;
        }
        std::vector<std::string> left;
        for (std::size_t k = n; k < toWrite.size(); ++k) left.push_back(files[toWrite[k]].path);
        std::string text = "Could not move " + file.path + " into place: " + ec.message() + ".";
        if (!m_written.empty())
            text += " These files were written: " + Joined(m_written) + "; these were not: " + Joined(left) + ".";
        return Fail(std::move(text));
    }
    m_files = allFiles;
    m_states = allStates;
    return true;
}

Olm_HdlGenerator& Olm_Finisher::Generator() {
    if (!m_generator) {
        m_ownGenerator = std::make_unique<Olm_HdlGenerator>(m_bridge.GetEnginePtr()->GetFamily().str());
        m_generator = m_ownGenerator.get();
    }
    return *m_generator;
}

bool Olm_Finisher::HdlInProcess(const std::string& kfzText, std::string& hdlText) {
    // From the design file's bytes, as the child process would read them.
    Olm_Engine written;
    Pal::String loadError;
    if (!written.LoadText(kfzText, DesignFile().c_str(), &loadError))
        return Fail("Could not read back the design file " + DesignFile() + ": " + loadError.str());
    std::string error;
    // Run checked the design rules on this design before it was saved.
    if (!Generator().Write(written.GetDesign(), m_design, m_language, hdlText, nullptr, error,
                           Olm_HdlGenerator::Rules::kCheckedByCaller))
        return Fail("Could not write the HDL file " + HdlFile() + ": " + error);
    return true;
}

bool Olm_Finisher::HdlByTool(const std::string& stagedKfz, const std::string& stagedHdl) {
    std::vector<Pal::String> argv = {m_tool};
    argv.insert(argv.end(), m_toolArguments.begin(), m_toolArguments.end());
    argv.insert(argv.end(), {"--kfz", stagedKfz, "--lang", Olm_HdlLanguageNames::Name(m_language),
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

bool Olm_Finisher::TestbenchText(const std::string& kfzText, std::string& testbenchText) {
    // From the design file's bytes: the testbench checks the requests it
    // keeps, whatever the wrapper says.
    Olm_Engine written;
    Pal::String loadError;
    if (!written.LoadText(kfzText, DesignFile().c_str(), &loadError))
        return Fail("Could not read back the design file " + DesignFile() + ": " + loadError.str());
    std::string error;
    if (!Olm_TestbenchWriter::Write(written.GetDesign(), m_design, m_language, testbenchText, error))
        return Fail("Could not write the testbench " + TestbenchFile() + ": " + error + ".");
    return true;
}

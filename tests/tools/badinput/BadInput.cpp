#include "BadInput.h"

#include "CaseFiles.h"

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>

#include <sys/stat.h>

namespace badinput {

namespace {

std::string Trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

// A field of a table row: trimmed, its escapes decoded, its marks replaced.
std::string Field(const std::string& raw, const std::map<std::string, std::string>& marks) {
    std::string out = olmtest::Unescape(Trimmed(raw));
    for (const auto& [mark, value] : marks) {
        for (std::size_t pos = out.find(mark); pos != std::string::npos; pos = out.find(mark, pos + value.size())) {
            out.replace(pos, mark.size(), value);
        }
    }
    return out;
}

}  // namespace

std::vector<Case> TableCases(const std::string& file, const std::map<std::string, std::string>& marks) {
    static const std::regex kRow(" *([^| ]+) *\\| *([^| ]+) *\\|([^|]*)\\|([^|]*)(\\| *([^| ]+) *)?");
    std::vector<Case> cases;
    std::istringstream rows(olmtest::ReadFile(file));
    std::smatch f;
    for (std::string row; std::getline(rows, row);) {
        if (row.empty() || row[0] == '#') continue;
        if (!std::regex_match(row, f, kRow)) {
            cases.push_back({"malformed_row_" + std::to_string(cases.size()), "", 0, "a well-formed row: " + row});
            continue;
        }
        const std::string input = f[4], text = Field(f[3], marks);
        const int line = f[2] == "-" ? kNoLine : std::stoi(f[2].str());
        const std::size_t arrow = input.find("=>");
        if (arrow == std::string::npos) {
            cases.push_back({f[1], Field(input, marks), line, text});
        } else {
            cases.push_back(Edited(marks.at("{FILE}"), f[1], Field(input.substr(0, arrow), marks),
                                   Field(input.substr(arrow + 2), marks), text, line));
        }
        if (f[6].matched) cases.back().wizard = f[6].str();
    }
    return cases;
}

std::vector<Case> NotFiles(const std::string& missing, const std::string& open, const std::string& close,
                           const std::string& tooLarge, std::uint64_t limit) {
    const std::string device = open + "a character device" + close;
    return {{"missing_file", "", 0, missing, Kind::kMissing},
            {"folder", "", 0, open + "a folder" + close, Kind::kFolder},
            {"fifo", "", 0, open + "a FIFO" + close, Kind::kFifo},
            {"dev_zero", "", 0, device, Kind::kZero},
            {"dev_urandom", "", 0, device, Kind::kRandom},
            {"dev_zero_low_memory", "", 0, device, Kind::kZero, true},
            {"over_size_limit", "", 0,
             tooLarge + "(" + std::to_string(limit + 1) + " bytes; the limit is " + std::to_string(limit) + " bytes)",
             Kind::kOverLimit, false, limit}};
}

Case Edited(const std::string& base, std::string name, const std::string& from, const std::string& to,
            std::string text, int lineOffset) {
    std::string content = base;
    const std::size_t pos = content.find(from);
    if (pos == std::string::npos) return {name + "_EDIT_NOT_FOUND", "", 1, from};
    content.replace(pos, from.size(), to);
    const int line = lineOffset == kNoLine ? 0 : LineAt(content, pos) + lineOffset;
    return {std::move(name), std::move(content), line, std::move(text)};
}

int LineAt(const std::string& text, std::size_t pos) {
    const auto end = text.begin() + static_cast<std::ptrdiff_t>(std::min(pos, text.size()));
    return 1 + static_cast<int>(std::count(text.begin(), end, '\n'));
}

std::string Crlf(const std::string& text) { return std::regex_replace(text, std::regex("\n"), "\r\n"); }

std::string Garbage(std::size_t size, unsigned seed, const std::string& avoid) {
    std::string bytes(size, '\0');
    for (char& c : bytes) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>((seed >> 16) & 0xff);
        if (avoid.find(c) != std::string::npos) c = 'x';
    }
    return bytes;
}

fs::path OlmwizTest::DataFolderWithoutTkl() {
    const fs::path folder = m_scratch.Path() / "data";
    fs::create_directories(folder);
    for (const auto& entry : fs::directory_iterator(OLM_DATA_DIR)) {
        if (entry.path().filename() != "olm_tkl.dev") fs::create_symlink(entry, folder / entry.path().filename());
    }
    m_olmwiz.env["OLMW_DATA_DIR"] = folder.string();
    return folder / "olm_tkl.dev";
}

std::vector<std::string> BatchRun(const std::string& wizard, const fs::path& outdir, std::vector<std::string> more) {
    more.insert(more.begin(), {"run", "--wizard", wizard, "--family", "korvo5", "--design", "d", "--batch", "--outdir",
                               outdir.string()});
    return more;
}

OutputGuard::OutputGuard(fs::path folder) : m_folder(std::move(folder)) {
    fs::create_directories(m_folder);
    Add("d.kfz", "earlier design file of d\n");
    Add("d.v", "// earlier wrapper of d\n");
    Add("d_olmw.pkx", "# earlier constraints of d\n");
}

std::string OutputGuard::Add(const std::string& name, const std::string& content) {
    std::ofstream(m_folder / name, std::ios::binary) << content;
    m_files[name] = content;
    return (m_folder / name).string();
}

std::string OutputGuard::Changes() const {
    std::string changes;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(m_folder, ec)) {
        const std::string name = entry.path().filename();
        if (!m_files.count(name)) changes += "new: " + name + "\n";
    }
    for (const auto& [name, content] : m_files) {
        const fs::path path = m_folder / name;
        if (!fs::is_regular_file(path, ec) || olmtest::ReadFile(path) != content) changes += "changed: " + name + "\n";
    }
    return changes;
}

void BadInput::SetUp() {
    if (GetParam().lowMemory && !OlmwizChild::kMemoryLimitWorks) GTEST_SKIP() << "no memory limit under ASan";
    if (GetParam().lowMemory) m_olmwiz.memoryLimit = kLowMemory;
    if (GetParam().kind != Kind::kContent) m_olmwiz.timeoutSeconds = 20;
}

std::string BadInput::Place(const fs::path& path) const {
    const Case& c = GetParam();
    if (c.kind == Kind::kZero || c.kind == Kind::kRandom) return c.kind == Kind::kZero ? "/dev/zero" : "/dev/urandom";
    if (c.kind == Kind::kContent) std::ofstream(path, std::ios::binary) << c.content;
    if (c.kind == Kind::kFolder) fs::create_directories(path / "inner");
    if (c.kind == Kind::kFifo) ::mkfifo(path.c_str(), 0600);
    if (c.kind == Kind::kOverLimit) {
        std::ofstream(path, std::ios::binary).close();
        fs::resize_file(path, c.limit + 1);  // a hole: no disk space is used
    }
    return path.string();
}

}  // namespace badinput

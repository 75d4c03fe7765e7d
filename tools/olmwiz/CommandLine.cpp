#include "CommandLine.h"

#include "Commands.h"
#include "StderrReports.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>

namespace olmwiz {

namespace {

// The long name of "-o,--output" without its dashes: "output".
std::string LongName(const std::string& names) {
    std::size_t start = 0;
    while (start <= names.size()) {
        std::size_t end = names.find(',', start);
        if (end == std::string::npos) end = names.size();
        const std::string name = names.substr(start, end - start);
        if (name.rfind("--", 0) == 0) return name.substr(2);
        start = end + 1;
    }
    return names;
}

// CLI11's words for a missing value ("--log: 1 required TEXT missing") and
// for a value given to a flag ("batch was given a disallowed flag
// override"), in the words of every olmwiz command.
std::string Problem(const CLI::ParseError& error) {
    const std::string text = error.what();
    const std::size_t colon = text.find(": ");
    const std::string missing = " missing";
    if (colon != std::string::npos && text.find(" required ") != std::string::npos && text.size() > missing.size() &&
        text.compare(text.size() - missing.size(), missing.size(), missing) == 0)
        return "option '" + text.substr(0, colon) + "' needs a value";
    if (const std::size_t at = text.find(" was given a disallowed flag override"); at != std::string::npos) {
        const std::string name = text.substr(0, at);
        return "option '" + (name.rfind("-", 0) == 0 ? name : "--" + name) + "' takes no value";
    }
    return text;
}

}  // namespace

CommandLine::CommandLine(std::string prefix, std::string help)
    : m_prefix(std::move(prefix)), m_help(std::move(help)), m_app(std::make_unique<CLI::App>()) {
    m_app->set_help_flag();  // the command's own text answers --help
    m_app->allow_extras();   // unknown options and positional arguments are sorted out in Parse
    m_app->option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    Flag("-h,--help");
}

CommandLine::~CommandLine() = default;

void CommandLine::Option(const std::string& names) { m_app->add_option(names, m_values[LongName(names)]); }

void CommandLine::Flag(const std::string& names) {
    m_app->add_flag(names, m_flags[LongName(names)])->disable_flag_override();
}

std::string CommandLine::Parse(const std::vector<std::string>& args) {
    for (auto& [name, value] : m_values) value.clear();
    for (auto& [name, set] : m_flags) set = false;
    m_positional.clear();
    // Everything after "--" is positional; CLI11 sees what comes before, in
    // the reversed order it takes a vector in.
    const auto end = std::find(args.begin(), args.end(), std::string("--"));
    std::vector<std::string> options;
    for (auto arg = args.begin(); arg != end; ++arg) {
        // CLI11 reads "--name=" as "--name" and takes the next argument as the
        // value; an empty value is meant.
        const std::string name = arg->size() > 3 && arg->rfind("--", 0) == 0 && arg->back() == '='
                                     ? arg->substr(2, arg->size() - 3)
                                     : std::string();
        if (!name.empty() && name.find('=') == std::string::npos && m_values.count(name)) {
            options.insert(options.end(), {"--" + name, ""});
        } else {
            options.push_back(*arg);
        }
    }
    std::reverse(options.begin(), options.end());
    try {
        m_app->parse(options);
    } catch (const CLI::ParseError& error) {
        return Problem(error);
    }
    for (const std::string& extra : m_app->remaining()) {
        if (extra.size() >= 2 && extra[0] == '-') return "unknown option '" + extra + "'";
        m_positional.push_back(extra);
    }
    if (end != args.end()) m_positional.insert(m_positional.end(), end + 1, args.end());
    return {};
}

int CommandLine::ParseCommand(const std::vector<std::string>& args) {
    if (const std::string problem = Parse(args); !problem.empty()) return Usage(problem);
    if (Has("help")) {
        std::fputs(m_help.c_str(), stdout);
        return kExitOk;
    }
    return kParsed;
}

int CommandLine::Usage(const std::string& problem) const {
    std::fprintf(stderr, "%s: %s\n\n%s", m_prefix.c_str(), StderrReports::Printable(problem).c_str(), m_help.c_str());
    return kExitUsage;
}

int CommandLine::RejectPositional() const {
    return m_positional.empty() ? kParsed : Usage("unexpected argument '" + m_positional.front() + "'");
}

int CommandLine::Fail(const std::string& problem) const {
    std::fprintf(stderr, "%s: %s\n", m_prefix.c_str(), StderrReports::Printable(problem).c_str());
    return kExitErrors;
}

bool CommandLine::Has(const std::string& longName) const {
    if (const auto flag = m_flags.find(longName); flag != m_flags.end()) return flag->second;
    const CLI::Option* option = m_app->get_option_no_throw("--" + longName);
    return option && option->count() > 0;
}

std::string CommandLine::Value(const std::string& longName) const {
    const auto it = m_values.find(longName);
    return it != m_values.end() && Has(longName) ? it->second : std::string();
}

}  // namespace olmwiz

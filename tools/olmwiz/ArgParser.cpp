#include "ArgParser.h"

#include "Commands.h"
#include "StderrReports.h"

#include <cstdio>

namespace olmwiz {

ArgParser::ArgParser(std::string prefix, const char* help) : m_prefix(std::move(prefix)), m_help(help) {
    AddOption("help", 'h', false);
}

int ArgParser::ParseCommand(const std::vector<std::string>& args) {
    if (!Parse(args)) {
        std::fprintf(stderr, "%s\n\n%s", m_error.c_str(), m_help);
        return kExitUsage;
    }
    if (Has("help")) {
        std::fputs(m_help, stdout);
        return kExitOk;
    }
    return kParsed;
}

int ArgParser::Usage(const std::string& problem) const {
    std::fprintf(stderr, "%s: %s\n\n%s", m_prefix.c_str(), problem.c_str(), m_help);
    return kExitUsage;
}

int ArgParser::RejectPositional() const {
    return m_positional.empty() ? kParsed : Usage("unexpected argument '" + m_positional.front() + "'");
}

int ArgParser::Fail(const std::string& problem) const {
    std::fprintf(stderr, "%s: %s\n", m_prefix.c_str(), StderrReports::Printable(problem).c_str());
    return kExitErrors;
}

void ArgParser::AddOption(const std::string& longName, char shortName, bool takesValue) {
    m_options.push_back(Option{longName, shortName, takesValue});
}

const ArgParser::Option* ArgParser::Find(const std::string& longName) const {
    for (const Option& o : m_options)
        if (o.longName == longName) return &o;
    return nullptr;
}

const ArgParser::Option* ArgParser::Find(char shortName) const {
    for (const Option& o : m_options)
        if (shortName != 0 && o.shortName == shortName) return &o;
    return nullptr;
}

std::string ArgParser::Value(const std::string& longName) const {
    const auto it = m_values.find(longName);
    return it == m_values.end() ? std::string() : it->second;
}

bool ArgParser::Parse(const std::vector<std::string>& args) {
    m_values.clear();
    m_positional.clear();
    m_error.clear();
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            m_positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const Option* option = nullptr;
        std::string inlineValue;
        bool hasInlineValue = false;
        if (arg[1] == '-') {
            const std::size_t eq = arg.find('=');
            option = Find(arg.substr(2, eq == std::string::npos ? std::string::npos : eq - 2));
            if (eq != std::string::npos) {
                inlineValue = arg.substr(eq + 1);
                hasInlineValue = true;
            }
        } else if (arg.size() == 2) {
            option = Find(arg[1]);
        }
        if (!option) {
            m_error = m_prefix + ": unknown option '" + arg + "'";
            return false;
        }
        if (!option->takesValue) {
            if (hasInlineValue) {
                m_error = m_prefix + ": option '--" + option->longName + "' takes no value";
                return false;
            }
            m_values[option->longName] = "";
            continue;
        }
        if (hasInlineValue) {
            m_values[option->longName] = inlineValue;
        } else if (i + 1 < args.size()) {
            m_values[option->longName] = args[++i];
        } else {
            m_error = m_prefix + ": option '" + arg + "' needs a value";
            return false;
        }
    }
    return true;
}

}  // namespace olmwiz

#pragma once

#include <map>
#include <string>
#include <vector>

namespace olmwiz {

// A small parser for subcommand arguments: long options ("--name value" or
// "--name=value"), short options ("-o value"), flags, positional arguments,
// and "--", after which everything is positional. It also prints the usual
// messages of a subcommand.
class ArgParser {
public:
    // What ParseCommand returns when the command goes on.
    static constexpr int kParsed = -1;

    // prefix starts every message, e.g. "olmwiz dump"; help is the command's
    // help text. Declares the option --help (-h).
    ArgParser(std::string prefix, const char* help);

    // Declares an option; shortName 0 means none. A value option needs a value.
    void AddOption(const std::string& longName, char shortName, bool takesValue);

    // False on an unknown option or a missing value; Error() says which.
    bool Parse(const std::vector<std::string>& args);
    // Parse for a subcommand: kParsed when the command goes on, otherwise its
    // exit code, after printing the error and the help to standard error
    // (kExitUsage) or, for --help, the help to standard output (kExitOk).
    int ParseCommand(const std::vector<std::string>& args);

    // "PREFIX: problem" and the help to standard error; kExitUsage.
    int Usage(const std::string& problem) const;
    // Usage about the first positional argument, for a command that takes
    // none; kParsed when there is none.
    int RejectPositional() const;
    // "PREFIX: problem" to standard error, control characters escaped
    // (StderrReports::Printable); kExitErrors.
    int Fail(const std::string& problem) const;

    bool Has(const std::string& longName) const { return m_values.count(longName) != 0; }
    // The value of an option (the last one given), or "" when absent.
    std::string Value(const std::string& longName) const;
    const std::vector<std::string>& Positional() const { return m_positional; }
    const std::string& Error() const { return m_error; }

private:
    struct Option {
        std::string longName;
        char shortName;
        bool takesValue;
    };
    const Option* Find(const std::string& longName) const;
    const Option* Find(char shortName) const;

    std::string m_prefix;
    const char* m_help;
    std::vector<Option> m_options;
    std::map<std::string, std::string> m_values;
    std::vector<std::string> m_positional;
    std::string m_error;
};

}  // namespace olmwiz

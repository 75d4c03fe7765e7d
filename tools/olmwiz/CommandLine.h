#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace olmwiz {

// The command line of one olmwiz command, read with CLI11: long options
// ("--name value" or "--name=value"), short options ("-o value"), flags,
// positional arguments, and "--", after which everything is positional. A
// value option given twice keeps the last value. Every command prints its own
// help text as it is written (CLI11's generated help is not used), and every
// problem comes out as "PREFIX: problem" followed by that help.
class CommandLine {
public:
    // What ParseCommand returns when the command goes on.
    static constexpr int kParsed = -1;

    // prefix starts every message, e.g. "olmwiz dump"; help is the command's
    // help text. Declares the flag --help (-h).
    CommandLine(std::string prefix, std::string help);
    ~CommandLine();
    CommandLine(const CommandLine&) = delete;
    CommandLine& operator=(const CommandLine&) = delete;

    // Declares an option that takes a value, or a flag, by its CLI11 names:
    // "-o,--output" or "--kfz". Has and Value take the long name without
    // dashes ("output").
    void Option(const std::string& names);
    void Flag(const std::string& names);

    // The problem with the arguments ("unknown option '--x'", "option '--log'
    // needs a value", ...), or "" when they parse. Parses afresh each time.
    std::string Parse(const std::vector<std::string>& args);
    // Parse for a command: kParsed when the command goes on, otherwise its
    // exit code, after printing the problem and the help to standard error
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

    bool Has(const std::string& longName) const;
    // The value of an option (the last one given), or "" when absent.
    std::string Value(const std::string& longName) const;
    const std::vector<std::string>& Positional() const { return m_positional; }

private:
    std::string m_prefix;
    std::string m_help;
    std::unique_ptr<CLI::App> m_app;
    std::map<std::string, std::string> m_values;  // by long name; CLI11 writes into them
    std::map<std::string, bool> m_flags;
    std::vector<std::string> m_positional;
};

}  // namespace olmwiz

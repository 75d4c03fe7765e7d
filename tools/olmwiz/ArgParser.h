#pragma once

#include <map>
#include <string>
#include <vector>

namespace olmwiz {

// A small parser for subcommand arguments: long options ("--name value" or
// "--name=value"), short options ("-o value"), flags, positional arguments,
// and "--", after which everything is positional.
class ArgParser {
public:
    // prefix starts every error message, e.g. "olmwiz dump".
    explicit ArgParser(std::string prefix) : m_prefix(std::move(prefix)) {}

    // Declares an option; shortName 0 means none. A value option needs a value.
    void AddOption(const std::string& longName, char shortName, bool takesValue);

    // False on an unknown option or a missing value; Error() says which.
    bool Parse(const std::vector<std::string>& args);

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
    std::vector<Option> m_options;
    std::map<std::string, std::string> m_values;
    std::vector<std::string> m_positional;
    std::string m_error;
};

}  // namespace olmwiz

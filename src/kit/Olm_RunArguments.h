#pragma once

#include "kit/Olm_RunRequest.h"

#include <map>
#include <string>

// What a command line made of a run request (Olm_RunRequest::FromArguments).
struct Olm_RunArguments {
    // The request: the defaults given, with the options read over them.
    Olm_RunRequest request;
    // Why the arguments make no request, one line for the user ("--design is
    // required", "unknown option '--x'", ...); empty when they make one.
    std::string problem;
    // -h or --help was given: nothing else was checked, and the caller shows
    // its usage (Olm_RunRequest::UsageText lists the options read for it).
    bool help = false;
    // The caller's own options that were given, by name: the value, "" for a
    // flag. A value option given twice keeps the last value.
    std::map<std::string, std::string> callerOptions;

    // The arguments make a request and do not ask for help.
    bool Ok() const { return problem.empty() && !help; }
};

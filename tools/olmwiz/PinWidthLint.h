#pragma once

#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace olmwiz {

// A second look at the pin widths of a wizard data file. The data-file reader
// takes a width it cannot read without a word ('[35:0' leaves the pin one bit
// wide, '[35:O]' reads as [35:0]); this lint names each such width so that
// olmwiz check-data refuses the file.
//
// A well-formed width is a bit count of 1 or more ("8") or a bit range from
// the high bit down to the low bit ("[7:0]", each bound an optionally signed
// decimal number), with blanks allowed only around the whole value.
class PinWidthLint {
public:
    struct Finding {
        int line = 0;         // counted as the reader counts: every physical line, from 1
        std::string pin;      // the pin's name as written
        std::string width;    // the value of its Width pair as written
        std::string problem;  // what is wrong, e.g. "the closing ']' is missing"
    };

    // Empty when width (the value of a Width pair) is well-formed; else what
    // is wrong with it.
    static std::string Problem(std::string_view width);

    // Every malformed width of the pin statements (InputPin, OutputPin,
    // BidirPin) of a data file, in the order of the file. Lines are split into
    // statements, keys and pairs as the data-file reader splits them.
    static std::vector<Finding> Check(std::istream& in);
};

}  // namespace olmwiz

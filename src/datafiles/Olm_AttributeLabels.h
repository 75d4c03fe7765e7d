#pragma once

#include "pal/String.h"
#include "shared/OlmBaseExport.h"

#include <istream>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What the window shows for one attribute: its label, its unit and a line of
// help. The unit "-" says that the attribute is a plain number (a divider, a
// count); an empty unit, that it is no number (a choice, a switch, a name).
struct Olm_AttributeLabel {
    std::string label;
    std::string unit;
    std::string help;
};

// The labels, units and help lines of the attributes of an installed data
// file. They live in the data file itself, on label lines inside the Block
// section of the attribute's primitive, one per attribute:
//
//   #: INCLK_PERIOD | Input clock period | ns | The period of the clock on CLKIN.
//
// A label line begins with "#" in its first column, so the data-file reader
// skips it as a comment; this class reads only those lines, and the Block and
// Primitive statements that tell it whose attributes they describe. It
// depends on the standard library only.
class OLM_BASE_EXPORT Olm_AttributeLabels {
public:
    // Reads the label lines of a data file. False when the file cannot be
    // read (the labels read before stay).
    bool ReadFile(const std::string& path);
    // Reads the label lines of data-file text; source names it in Problems.
    void Read(std::istream& in, const std::string& source);
    // The labels of the installed data file of a wizard type (the file that
    // Olm_Data::DataFileName chooses, found where the loader finds it). Empty
    // when the type has no data file or the file is not installed.
    static Olm_AttributeLabels Installed(const Pal::String& wizType, const Pal::String& family);

    bool IsEmpty() const { return m_labels.empty(); }
    // The entry of an attribute of a primitive; when that primitive gives
    // none, the first entry of the attribute on any primitive; else null.
    const Olm_AttributeLabel* Find(std::string_view primType, std::string_view attribute) const;
    // The label, or empty.
    std::string Label(std::string_view primType, std::string_view attribute) const;
    // The unit, empty for a plain number ("-") and for no entry.
    std::string Unit(std::string_view primType, std::string_view attribute) const;
    std::string Help(std::string_view primType, std::string_view attribute) const;
    // The text in front of a field: "Input clock period (ns):", "Feedback:";
    // a label that ends in its unit takes it once ("Number of lanes:").
    // Empty when the attribute has no label.
    std::string FieldLabel(std::string_view primType, std::string_view attribute) const;

    // The malformed label lines read, each "<source>:<line>: why".
    const std::vector<std::string>& Problems() const { return m_problems; }

private:
    std::map<std::pair<std::string, std::string>, Olm_AttributeLabel, std::less<>> m_labels;
    std::map<std::string, Olm_AttributeLabel, std::less<>> m_byAttribute;  // the first entry of each name
    std::vector<std::string> m_problems;
};

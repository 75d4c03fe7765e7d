#pragma once

#include "kit/Olm_Field.h"
#include "shared/OlmBaseExport.h"

#include <memory>
#include <string>
#include <vector>

// A table of bound fields on a toolkit page (Olm_KitPage::AddTable): one row
// per instance of something (an output clock, a lane, a bit), one column per
// header. A check-box field shows its label beside the box; the other
// fields' labels name them in messages only.
//
//   Olm_KitTable& table = page.AddTable({"Output", "Frequency (MHz)", "Port"});
//   for (int n = 0; n < 6; ++n) {
//       const std::string out = "CLKOUT" + std::to_string(n);
//       table.AddRow({Olm_Field("OLMW_ONLY_" + out + "_USED", out),
//                     Olm_Field("OLMW_ONLY_" + out + "_FREQ", out + " frequency"),
//                     Olm_Field::Port(out, out + " port")});
//   }
class OLM_BASE_EXPORT Olm_KitTable {
public:
    explicit Olm_KitTable(std::vector<std::string> headers);

    // A row of fields, one per column from the left; returns the row's index.
    int AddRow(std::vector<Olm_Field> fields);
    // A field of a row (to chain its settings: table.At(0, 1).EnabledWhen(...)).
    Olm_Field& At(int row, int column);

    const std::vector<std::string>& Headers() const { return m_headers; }
    int RowCount() const { return static_cast<int>(m_rows.size()); }
    const std::vector<std::unique_ptr<Olm_Field>>& Row(int row) const { return m_rows.at(row); }

private:
    std::vector<std::string> m_headers;
    std::vector<std::vector<std::unique_ptr<Olm_Field>>> m_rows;
};

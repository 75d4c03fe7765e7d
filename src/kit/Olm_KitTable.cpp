#include "kit/Olm_KitTable.h"

Olm_KitTable::Olm_KitTable(std::vector<std::string> headers) : m_headers(std::move(headers)) {}

int Olm_KitTable::AddRow(std::vector<Olm_Field> fields) {
    std::vector<std::unique_ptr<Olm_Field>> row;
    row.reserve(fields.size());
    for (Olm_Field& field : fields) row.push_back(std::make_unique<Olm_Field>(std::move(field)));
    m_rows.push_back(std::move(row));
    return RowCount() - 1;
}

Olm_Field& Olm_KitTable::At(int row, int column) { return *m_rows.at(row).at(column); }

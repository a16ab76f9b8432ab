// The "fields" member of an entry in the JSON export: what the entry's
// decoder reads from it, or null for an entry without a format.
#pragma once

#include <memory>

#include "dump/records/PalmDocRecord.h"
#include "export/ExportWriters.h"
#include "export/JsonString.h"

namespace corvelle {

struct AddressLabels;

class JsonFieldWriter {
public:
    // Reads what every entry's fields need once: the Address labels, the
    // PalmDOC header's compression.
    explicit JsonFieldWriter(const ExportContext& context);
    ~JsonFieldWriter();

    void Write(JsonOut& json, size_t index);

private:
    const ExportContext& m_context;
    std::unique_ptr<AddressLabels> m_labels;
    PalmDocHeader m_docHeader;
};

}  // namespace corvelle

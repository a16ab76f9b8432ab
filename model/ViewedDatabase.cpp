#include "model/ViewedDatabase.h"

#include <new>

#include "dump/PalmDump.h"
#include "io/MappedFile.h"
#include "model/PaneText.h"

namespace corvelle {

ViewedDatabase::ViewedDatabase(NativePath path, const CodePageInfo& encoding)
    : m_path(std::move(path)), m_encoding(&encoding) {
    m_read = ReadWholeFile(m_path, m_bytes);
    Build();
}

ViewedDatabase::ViewedDatabase(NativePath path, std::vector<uint8_t> bytes, const CodePageInfo& encoding)
    : m_path(std::move(path)), m_encoding(&encoding), m_read(ReadResult::kRead), m_bytes(std::move(bytes)) {
    Build();
}

ViewedDatabase::~ViewedDatabase() = default;

void ViewedDatabase::Build() {
    if (m_read != ReadResult::kRead) {
        m_readProblem = ReadProblemText(m_read);
        return;
    }
    try {
        m_model = std::make_unique<DatabaseModel>(m_bytes.data(), m_bytes.size());
        m_database = std::make_unique<DecodedDatabase>(*m_model);
    } catch (const std::bad_alloc&) {
        m_database.reset();
        m_model.reset();
        m_readProblem = NoMemoryToListText();
    }
}

bool ViewedDatabase::HoldsResources() const {
    return m_model != nullptr && m_model->HeaderWhole() && m_model->HoldsResources();
}

bool ViewedDatabase::HasDocument() const {
    const Format* format = m_database != nullptr ? m_database->GetFormat() : nullptr;
    return format != nullptr && format->hasDocument;
}

std::string ViewedDatabase::Report() const {
    // The lines a file that did not map has always been given: a viewer shows
    // why rather than a blank page.
    switch (m_read) {
        case ReadResult::kRead: break;
        case ReadResult::kNotOpened: return OpenFailureText(MappedFile::kNotOpened, 0);
        default: return OpenFailureText(MappedFile::kNoView, 0);
    }
    if (m_bytes.empty()) return OpenFailureText(MappedFile::kNoMapping, 0);
    return BuildReport(m_bytes.data(), static_cast<uint32_t>(m_bytes.size()));
}

}  // namespace corvelle

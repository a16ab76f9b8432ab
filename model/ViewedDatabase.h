// The database a viewer shows: the file's bytes, read once when the viewer
// opens and closed at once, the model over them, the database decoded
// through its format, the user's code page, and what went wrong reading.
// Every page of either front end asks this one object; none reads the file
// again.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "dump/DatabaseModel.h"
#include "standards/CodePage.h"
#include "formats/FormatTable.h"
#include "io/NativePath.h"
#include "io/WholeFileReader.h"

namespace corvelle {

class ViewedDatabase {
public:
    // Reads the file at `path`; `encoding` is the code page of the file's
    // texts where its format names none (the options' Encoding=).
    ViewedDatabase(NativePath path, const CodePageInfo& encoding);
    // The same over bytes already in memory (the tests, the benchmarks).
    ViewedDatabase(NativePath path, std::vector<uint8_t> bytes, const CodePageInfo& encoding);
    ~ViewedDatabase();
    ViewedDatabase(const ViewedDatabase&) = delete;
    ViewedDatabase& operator=(const ViewedDatabase&) = delete;

    const NativePath& Path() const { return m_path; }
    const CodePageInfo& Encoding() const { return *m_encoding; }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

    // Whether there are entries to list: the file was read and its model built.
    bool HasModel() const { return m_database != nullptr; }
    const DatabaseModel& Model() const { return *m_model; }
    const DecodedDatabase& Database() const { return *m_database; }
    // Why there is no model, in one sentence; empty when there is one.
    const std::string& ReadProblem() const { return m_readProblem; }

    // The header's resource flag, which names the third page ("Resources").
    bool HoldsResources() const;
    // Whether the database's format has a text to read (the Text page).
    bool HasDocument() const;

    // The report of the "Image Dump" page and of corvelle-dump, CR LF line
    // ends; for a file that could not be read, the one line that says why.
    std::string Report() const;

private:
    void Build();

    NativePath m_path;
    const CodePageInfo* m_encoding;
    ReadResult m_read = ReadResult::kNotOpened;
    std::vector<uint8_t> m_bytes;
    std::unique_ptr<DatabaseModel> m_model;
    std::unique_ptr<DecodedDatabase> m_database;
    std::string m_readProblem;
};

}  // namespace corvelle

// The Records page for either front end: the list's columns and cells, the
// entry pane's text, the picture beside it, a copy of rows and the find
// command, all in UTF-8 over the viewed database (the file's texts decoded
// from its code page here, once, for both front ends). A list asks for the
// cells it draws; nothing is formatted before.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "formats/Format.h"
#include "model/ViewedDatabase.h"
#include "standards/CodePage.h"

namespace corvelle {

class RecordsView {
public:
    // Over `viewed`, which outlives the view.
    explicit RecordsView(const ViewedDatabase& viewed);
    RecordsView(const RecordsView&) = delete;
    RecordsView& operator=(const RecordsView&) = delete;

    // The page's tab: "Resources" for a resource database, else "Records".
    const char* Title() const;
    // Whether there are entries to list (the file was read and its model built).
    bool HasEntries() const { return m_viewed.HasModel(); }
    size_t RowCount() const;
    size_t ColumnCount() const;
    const char* ColumnTitle(size_t column) const;
    // A cell's usual widest text, to size the column by; null for the
    // contents, which takes what is left.
    const char* ColumnSample(size_t column) const;
    // One cell in UTF-8, appended to `out` (not cleared); nothing for a row or
    // column that is not there.
    void AppendCell(size_t row, size_t column, std::string& out) const;

    // What the pane shows for `entry` (none: nothing selected): the entry's
    // fields and bytes as `corvelle-dump --record N` prints them, its hex dump
    // cut after kPaneHexLimit bytes; how to see an entry; or why there is
    // nothing to list. LF line ends.
    std::string PaneText(std::optional<size_t> entry) const;
    // The picture beside the pane; none for an entry its format does not decode.
    EntryPicture Picture(size_t entry) const;
    // The header line of `corvelle-dump --records` and the line of each of
    // `rows` under it, in their order: what a copy of the list's rows gives.
    std::string RowsText(const std::vector<size_t>& rows) const;
    // The Lister's find command: the entry after `from` (see FindEntry) whose
    // cells or fields hold `needle`, given in UTF-8.
    std::optional<size_t> Find(const std::string& needle, std::optional<size_t> from, int flags) const;

    static constexpr uint64_t kPaneHexLimit = 4096;

private:
    std::string Utf8(const std::string& bytes) const;

    const ViewedDatabase& m_viewed;
    mutable TextDecoder m_decoder;
    mutable std::string m_cell;
};

}  // namespace corvelle

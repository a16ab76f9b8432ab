#include "model/RecordsView.h"

#include "formats/EntryText.h"
#include "model/PaneText.h"
#include "model/RecordSearch.h"

namespace corvelle {

RecordsView::RecordsView(const ViewedDatabase& viewed) : m_viewed(viewed), m_decoder(viewed.Encoding()) {}

const char* RecordsView::Title() const { return m_viewed.HoldsResources() ? "Resources" : "Records"; }

size_t RecordsView::RowCount() const { return HasEntries() ? m_viewed.Model().Count() : 0; }

size_t RecordsView::ColumnCount() const { return HasEntries() ? corvelle::ColumnCount(m_viewed.Model()) : 0; }

const char* RecordsView::ColumnTitle(size_t column) const {
    return column < ColumnCount() ? ColumnAt(m_viewed.Model(), column).title : "";
}

const char* RecordsView::ColumnSample(size_t column) const {
    return column < ColumnCount() ? ColumnAt(m_viewed.Model(), column).widestSample : nullptr;
}

void RecordsView::AppendCell(size_t row, size_t column, std::string& out) const {
    if (row >= RowCount() || column >= ColumnCount()) return;
    m_cell.clear();
    corvelle::AppendCell(m_viewed.Database(), row, column, m_cell);
    m_decoder.AppendUtf8(m_cell, out);
}

std::string RecordsView::Utf8(const std::string& bytes) const { return m_decoder.ToUtf8(bytes); }

std::string RecordsView::PaneText(std::optional<size_t> entry) const {
    if (!HasEntries()) return m_viewed.ReadProblem();
    if (!entry || *entry >= RowCount()) return NoSelectionText(m_viewed.Model());
    return Utf8(EntryText(m_viewed.Database(), *entry, kPaneHexLimit));
}

EntryPicture RecordsView::Picture(size_t entry) const {
    if (entry >= RowCount() || !m_viewed.Database().Decodes(entry)) return {};
    return m_viewed.Database().Reader().Picture(entry);
}

std::string RecordsView::RowsText(const std::vector<size_t>& rows) const {
    if (!HasEntries()) return {};
    return Utf8(corvelle::RowsText(m_viewed.Database(), rows));
}

std::optional<size_t> RecordsView::Find(const std::string& needle, std::optional<size_t> from, int flags) const {
    if (!HasEntries()) return std::nullopt;
    return FindEntry(m_viewed.Database(), m_decoder, needle, from, flags);
}

}  // namespace corvelle

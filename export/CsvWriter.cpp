// A table as CSV (RFC 4180), UTF-8: the column names as the header row, then
// a row per live record, in the order of the entries. The format says what
// its columns are and what each record holds in them; this writer knows only
// CSV.
#include <string>
#include <vector>

#include "formats/ExportFeed.h"
#include "export/ExportWriters.h"
#include "standards/Rfc4180.h"

namespace corvelle {
namespace {

class CsvFeed final : public ExportFeed {
public:
    CsvFeed(const ExportContext& context, std::string& out) : m_context(context), m_out(out) {}

    void Begin(size_t index) { m_index = index; }

    void TableHeader(const std::vector<std::string_view>& names) override {
        m_columns = names.size();
        Write(names);
    }

    // Every row has the header's width, as RFC 4180 asks: a short row (a
    // record cut early) gets empty cells. A longer one is written whole
    // rather than lose cells, and said.
    void TableRow(const std::vector<std::string_view>& cells) override {
        if (m_columns != 0 && cells.size() > m_columns)
            m_context.Warn(RecordName(m_index) + ": " + std::to_string(cells.size()) + " cells under " +
                           std::to_string(m_columns) + " columns");
        Write(cells);
    }

    void Warn(std::string text) override { m_context.Warn(std::move(text)); }

private:
    void Write(const std::vector<std::string_view>& cells) {
        const size_t width = cells.size() < m_columns ? m_columns : cells.size();
        m_fields.resize(width);
        for (size_t i = 0; i < width; ++i) {
            m_fields[i].clear();  // keeps its memory for the next row
            if (i < cells.size()) m_context.decoder.AppendUtf8(cells[i], m_fields[i]);
        }
        AppendCsvRecord(m_fields, m_out);
    }

    const ExportContext& m_context;
    std::string& m_out;
    size_t m_index = 0;
    size_t m_columns = 0;
    std::vector<std::string> m_fields;
};

}  // namespace

void WriteCsv(const ExportContext& context, std::string& out) {
    CsvFeed feed(context, out);
    context.database.Reader().FeedBeforeEntries(ExportType::kCsv, feed);
    FeedLiveEntries(context, ExportType::kCsv, feed, &out);
}

}  // namespace corvelle

// How fast a book's text is decoded: a 5 MB eReader book (zlib, PalmDOC and
// the older header's XORed PalmDOC) read whole through its document, as the
// Text page and the text export read it, and its records only decompressed;
// a 5 MB TealDoc document through its document; a 5 MB PalmDOC document whose
// text is HTML (Mobipocket's first books) and one of plain text. Bytes per
// second are the decoded text's (the PML, the TealDoc text or the HTML, before
// its markup is read).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "dump/records/EReaderRecord.h"
#include "standards/CodePage.h"
#include "formats/DocumentText.h"
#include "formats/FormatTable.h"
#include "tools/fixtures/BookWriter.h"
#include "tools/fixtures/PalmDocWriter.h"

namespace {

using namespace corvelle;

constexpr size_t kBookSize = 5 * 1000 * 1000;

// A novel's worth of PML: chapters, paragraphs with italics and bold, cp1252
// codes, a footnote reference now and then.
std::string Pml() {
    static const char* const kWords[] = {
        "the",       "night", "was",         "dark",  "and",     "stormy",          "caf\\a233",
        "\\ishe\\i", "said",  "\\Bnever\\B", "river", "lantern", "\\a147yes\\a148", "across",
        "house",     "window"};
    std::string pml;
    pml.reserve(kBookSize + 1024);
    unsigned seed = 7;
    for (int chapter = 1; pml.size() < kBookSize; ++chapter) {
        pml += "\\p\\x\\BChapter " + std::to_string(chapter) + "\\B\\x\n\n";
        for (int paragraph = 0; paragraph < 60 && pml.size() < kBookSize; ++paragraph) {
            for (int word = 0; word < 90; ++word) {
                seed = seed * 1103515245u + 12345u;
                pml += kWords[(seed >> 16) % (sizeof kWords / sizeof *kWords)];
                pml += ' ';
            }
            pml += "end\\Fn=\"n1\"[1]\\Fn.\n\n";
        }
    }
    return pml;
}

struct BookFile {
    std::vector<uint8_t> bytes;
    uint64_t textBytes = 0;
};

BookFile EReaderFile(uint16_t compression, bool older) {
    const std::string pml = Pml();
    samples::EReaderBook book;
    book.compression = compression;
    book.older = older;
    book.texts = samples::CutIntoRecords(pml, 8192);
    book.footnotes = {{"n1", "A \\inote\\i."}};
    const std::string file = samples::SerializePalmDatabase(samples::EReaderDatabase(book));
    return {std::vector<uint8_t>(file.begin(), file.end()), pml.size()};
}

class Counted final : public DocumentSink {
public:
    void Text(std::string_view utf8, unsigned) override { size += utf8.size(); }
    void Heading(std::string_view utf8) override { size += utf8.size(); }
    void Image(const ByteSpan&) override {}
    void Rule() override {}
    void Note(std::string) override { ++notes; }
    uint64_t size = 0;
    int notes = 0;
};

// The whole document, as the Text page reads it.
void ReadDocument(benchmark::State& state, const BookFile& file) {
    const DatabaseModel model(file.bytes.data(), file.bytes.size());
    const DecodedDatabase database(model);
    TextDecoder decoder(*FindCodePage("cp1252"));
    TextOptions options;
    options.fallbackDecoder = &decoder;
    uint64_t shown = 0;
    for (auto _ : state) {
        Counted sink;
        const auto document = database.Reader().OpenDocument(options);
        while (document->Next(sink)) {
        }
        if (sink.notes != 0) state.SkipWithError("the book was not read whole");
        shown = sink.size;
        benchmark::DoNotOptimize(shown);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.textBytes));
    state.counters["book_MB"] = static_cast<double>(file.textBytes) / 1e6;
    state.counters["file_MB"] = static_cast<double>(file.bytes.size()) / 1e6;
    state.counters["shown_MB"] = static_cast<double>(shown) / 1e6;
}

// The records only decompressed: what the format costs before PML is read.
void DecompressRecords(benchmark::State& state, const BookFile& file) {
    const DatabaseModel model(file.bytes.data(), file.bytes.size());
    const EReaderHeader header = DecodeEReaderHeader(model.Data(0));
    for (auto _ : state) {
        uint64_t total = 0;
        for (size_t i = 1; i < header.nonTextStart; ++i)
            total += DecodeEReaderText(model.Data(i), header.Compression()).text.size();
        if (total != file.textBytes) state.SkipWithError("the records did not give the whole text");
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.textBytes));
}

void BM_EReaderZlibDocument(benchmark::State& state) {
    static const BookFile file = EReaderFile(10, false);
    ReadDocument(state, file);
}
void BM_EReaderPalmDocDocument(benchmark::State& state) {
    static const BookFile file = EReaderFile(2, false);
    ReadDocument(state, file);
}
void BM_EReaderOlderHeaderDocument(benchmark::State& state) {
    static const BookFile file = EReaderFile(2, true);
    ReadDocument(state, file);
}
void BM_EReaderZlibRecordsOnly(benchmark::State& state) {
    static const BookFile file = EReaderFile(10, false);
    DecompressRecords(state, file);
}
void BM_EReaderPalmDocRecordsOnly(benchmark::State& state) {
    static const BookFile file = EReaderFile(2, false);
    DecompressRecords(state, file);
}
void BM_TealDocDocument(benchmark::State& state) {
    static const BookFile file = [] {
        std::string text;
        while (text.size() < kBookSize)
            text +=
                "<HEADER TEXT=\"Part\">\nThe night was dark and stormy, said the <LINK TEXT=\"river\" TAG=\"r\">.\n";
        const std::string bytes = samples::SerializePalmDatabase(samples::TealDocDatabase(text, {{"r", 0}}));
        return BookFile{std::vector<uint8_t>(bytes.begin(), bytes.end()), text.size()};
    }();
    ReadDocument(state, file);
}

// PalmDOC-compressed, in records of 4096 bytes.
BookFile PalmDocFile(bool html) {
    std::string text = html ? "<HTML><HEAD><dc:Title>Bench</dc:Title></HEAD><BODY>\n" : "";
    for (int chapter = 1; text.size() < kBookSize; ++chapter) {
        const std::string title = "Chapter " + std::to_string(chapter);
        text += html ? "<h2>" + title + "</h2>\n" : title + "\n";
        for (int paragraph = 0; paragraph < 60; ++paragraph)
            text += html ? "<p>The night was <i>dark</i> and stormy &amp; the river ran past the caf&eacute;.</p>\n"
                         : "The night was dark and stormy & the river ran past the caf\xE9.\n";
    }
    const std::string bytes = samples::SerializePalmDatabase(samples::PalmDocBook("Bench", text));
    return BookFile{std::vector<uint8_t>(bytes.begin(), bytes.end()), text.size()};
}
void BM_PalmDocHtmlDocument(benchmark::State& state) {
    static const BookFile file = PalmDocFile(true);
    ReadDocument(state, file);
}
void BM_PalmDocPlainDocument(benchmark::State& state) {
    static const BookFile file = PalmDocFile(false);
    ReadDocument(state, file);
}

BENCHMARK(BM_EReaderZlibDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EReaderPalmDocDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EReaderOlderHeaderDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EReaderZlibRecordsOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EReaderPalmDocRecordsOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TealDocDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PalmDocHtmlDocument)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PalmDocPlainDocument)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

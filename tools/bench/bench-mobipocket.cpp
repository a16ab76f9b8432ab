// In-process figures for tools/books/bench-mobipocket.py: each book given on the command line read
// whole through its document reader, as the Text page reads it (the pieces counted, not kept), its
// text records only decompressed (what `mobitool -d` does: no code page, no markup; the dictionary
// loaded afresh each time), and each of its records' text as `--records` decodes it. Bytes per
// second are the text's.
//   bench-mobipocket [BENCHMARK FLAGS] BOOK...
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "dump/DatabaseModel.h"
#include "formats/DocumentText.h"
#include "formats/EntryText.h"
#include "formats/MobipocketBook.h"

namespace {

using namespace corvelle;

class Counted final : public DocumentSink {
public:
    void Text(std::string_view utf8, unsigned) override { bytes += utf8.size(); }
    void Heading(std::string_view utf8) override { bytes += utf8.size(); }
    void Image(const ByteSpan&) override {}
    void Rule() override {}
    void Note(std::string) override {}
    uint64_t bytes = 0;
};

void ReadDocument(benchmark::State& state, const std::vector<uint8_t>& file) {
    const DatabaseModel model(file.data(), file.size());
    const DecodedDatabase database(model);
    uint64_t bytes = 0;
    for (auto _ : state) {
        Counted counted;
        const std::unique_ptr<DocumentReader> document = database.Reader().OpenDocument(TextOptions{});
        if (document == nullptr) {
            state.SkipWithError("no document");
            return;
        }
        while (document->Next(counted)) {
        }
        bytes = counted.bytes;
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void TextRecords(benchmark::State& state, const std::vector<uint8_t>& file) {
    const DatabaseModel model(file.data(), file.size());
    const MobipocketBook book(model);
    uint64_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        MobiDictionary dictionary;
        for (size_t i = 1; i <= book.LastTextRecord(); ++i) {
            const MobiRecordText text = book.Text(i, UINT64_MAX, dictionary);
            if (!text.problem.empty()) {
                state.SkipWithError(("record " + std::to_string(i) + ": " + text.problem).c_str());
                return;
            }
            bytes += text.text.size();
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void RecordFields(benchmark::State& state, const std::vector<uint8_t>& file) {
    const DatabaseModel model(file.data(), file.size());
    const DecodedDatabase database(model);
    uint64_t bytes = 0;
    for (auto _ : state) {
        bytes = 0;
        for (size_t i = 0; i < model.Count(); ++i) bytes += EntryFieldsText(database, i).size();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    static std::vector<std::vector<uint8_t>> files;
    files.reserve(static_cast<size_t>(argc));
    for (int i = 1; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        files.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        const std::string name = argv[i];
        const std::string base = name.substr(name.find_last_of('/') + 1);
        benchmark::RegisterBenchmark(("document/" + base).c_str(), ReadDocument, files.back())
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("textRecords/" + base).c_str(), TextRecords, files.back())
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("recordFields/" + base).c_str(), RecordFields, files.back())
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

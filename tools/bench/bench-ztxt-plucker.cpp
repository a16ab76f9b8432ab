// How fast a 5 MB book's text is decoded: a zTXT book (random access, 8 KB
// records) and a Plucker book (zlib, 16 KB pages of four paragraphs with a
// bold run each), built in memory with zlib. Bytes per second are UTF-8
// text bytes given: the whole document as the Text page reads it, and the
// text export and the list's cells as corvelle-dump makes them.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <string>
#include <vector>

#include "standards/CodePage.h"
#include "export/Export.h"
#include "formats/DocumentText.h"
#include "formats/EntryText.h"
#include "formats/Format.h"
#include "tools/fixtures/BigEndianWriter.h"
#include "tools/fixtures/PalmWriter.h"

namespace {

using namespace corvelle;

constexpr size_t kBookSize = 5 << 20;

std::string Prose(size_t size) {
    static const char* const kWords[] = {"river", "lantern", "caf\xe9", "night", "reader", "\x93quoted\x94", "page",
                                         "stream", "na\xefve", "weasel", "pluck", "record"};
    std::string text;
    text.reserve(size + 16);
    uint32_t state = 1;
    for (size_t i = 0; text.size() < size; ++i) {
        state = state * 1103515245u + 12345u;
        text += kWords[(state >> 16) % 12];
        text += i % 97 == 96 ? ".\n" : (i % 13 == 12 ? ". " : " ");
    }
    text.resize(size);
    return text;
}

std::string Word(uint32_t value) {
    std::string out;
    samples::Put16(out, value);
    return out;
}

std::string ZtxtBook() {
    const std::string text = Prose(kBookSize);
    samples::PalmDatabase db;
    db.type = "zTXT";
    db.creator = "GPlm";
    z_stream z{};
    deflateInit(&z, Z_DEFAULT_COMPRESSION);
    std::vector<std::string> records;
    for (size_t at = 0; at < text.size(); at += 8192) {
        const size_t length = text.size() - at < 8192 ? text.size() - at : 8192;
        std::string out(deflateBound(&z, length) + 64, '\0');
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data() + at));
        z.avail_in = static_cast<uInt>(length);
        z.next_out = reinterpret_cast<Bytef*>(&out[0]);
        z.avail_out = static_cast<uInt>(out.size());
        deflate(&z, at + length == text.size() ? Z_FINISH : Z_FULL_FLUSH);
        out.resize(out.size() - z.avail_out);
        records.push_back(out);
    }
    deflateEnd(&z);
    std::string record0 = Word(0x012C) + Word(static_cast<uint32_t>(records.size()));
    samples::Put32(record0, static_cast<uint32_t>(text.size()));
    record0 += Word(8192) + std::string(8, '\0') + std::string("\1\0", 2) + std::string(12, '\0');
    db.records.push_back({0, 0, record0});
    for (std::string& record : records) db.records.push_back({0, 0, std::move(record)});
    return samples::SerializePalmDatabase(db);
}

std::string PluckerBook() {
    const std::string text = Prose(kBookSize);
    const std::string bold = std::string("\0\x11\x07", 3), regular = std::string("\0\x11\0", 3);
    samples::PalmDatabase db;
    db.type = "Data";
    db.creator = "Plkr";
    db.records.push_back({0, 0, Word(1) + Word(2) + Word(1) + Word(0) + Word(2)});
    uint32_t uid = 2;
    for (size_t at = 0; at < text.size(); at += 16384, ++uid) {
        std::string data, heads;
        for (size_t part = at; part < at + 16384 && part < text.size(); part += 4096) {
            const std::string paragraph = bold + text.substr(part, 20) + regular + text.substr(part + 20, 4096 - 20);
            heads += Word(static_cast<uint32_t>(paragraph.size())) + Word(0);
            data += paragraph;
        }
        uLongf size = compressBound(data.size());
        std::string body(size, '\0');
        compress2(reinterpret_cast<Bytef*>(&body[0]), &size, reinterpret_cast<const Bytef*>(data.data()), data.size(),
                  Z_DEFAULT_COMPRESSION);
        body.resize(size);
        const std::string header = Word(uid) + Word(static_cast<uint32_t>(heads.size() / 4)) +
                                   Word(static_cast<uint32_t>(data.size())) + std::string("\1\0", 2);
        db.records.push_back({0, 0, header + heads + body});
    }
    return samples::SerializePalmDatabase(db);
}

struct TextSink final : DocumentSink {
    void Text(std::string_view utf8, unsigned) override { text.append(utf8.data(), utf8.size()); }
    void Heading(std::string_view utf8) override { text.append(utf8.data(), utf8.size()); }
    void Image(const ByteSpan&) override {}
    void Rule() override {}
    void Note(std::string) override {}
    std::string text;
};

const std::vector<uint8_t>& Book(bool plucker) {
    static const std::string ztxt = ZtxtBook(), pluckerBook = PluckerBook();
    static const std::vector<uint8_t> ztxtBytes(ztxt.begin(), ztxt.end()), pluckerBytes(pluckerBook.begin(),
                                                                                       pluckerBook.end());
    return plucker ? pluckerBytes : ztxtBytes;
}

void Document(benchmark::State& state, bool plucker) {
    const std::vector<uint8_t>& file = Book(plucker);
    TextDecoder decoder(*FindCodePage("cp1252"));
    TextOptions options;
    options.fallbackDecoder = &decoder;
    size_t size = 0;
    for (auto _ : state) {
        const DatabaseModel model(file.data(), file.size());
        const DecodedDatabase database(model);
        TextSink sink;
        const auto document = database.Reader().OpenDocument(options);
        while (document->Next(sink)) {
        }
        size = sink.text.size();
        benchmark::DoNotOptimize(sink.text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
    state.counters["text_MB"] = static_cast<double>(size) / 1e6;
    state.counters["file_MB"] = static_cast<double>(file.size()) / 1e6;
}

void ExportText(benchmark::State& state, bool plucker) {
    const std::vector<uint8_t>& file = Book(plucker);
    size_t size = 0;
    for (auto _ : state) {
        const DatabaseModel model(file.data(), file.size());
        const DecodedDatabase database(model);
        std::string out, error;
        ExportToText(database, ExportType::kText, ExportOptions(), out, error);
        size = out.size();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * size));
    state.counters["text_MB"] = static_cast<double>(size) / 1e6;
}

// --records: every row, each text record's cell inflated or decoded.
void Records(benchmark::State& state, bool plucker) {
    const std::vector<uint8_t>& file = Book(plucker);
    size_t rows = 0;
    for (auto _ : state) {
        const DatabaseModel model(file.data(), file.size());
        const DecodedDatabase database(model);
        std::string out;
        for (size_t i = 0; i < model.Count(); ++i) AppendEntryLine(database, i, out);
        rows = model.Count();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["rows"] = static_cast<double>(rows);
}

void BM_ZtxtDocument5MB(benchmark::State& state) { Document(state, false); }
void BM_PluckerDocument5MB(benchmark::State& state) { Document(state, true); }
void BM_ZtxtExportText5MB(benchmark::State& state) { ExportText(state, false); }
void BM_PluckerExportText5MB(benchmark::State& state) { ExportText(state, true); }
void BM_ZtxtRecords5MB(benchmark::State& state) { Records(state, false); }
void BM_PluckerRecords5MB(benchmark::State& state) { Records(state, true); }

}  // namespace

BENCHMARK(BM_ZtxtDocument5MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PluckerDocument5MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZtxtExportText5MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PluckerExportText5MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZtxtRecords5MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PluckerRecords5MB)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

// How fast the databases of a user's own data go out and are drawn: --export
// mbox of 10000 messages, --export csv of 10000 expenses and of 10000 JFile
// rows, the list's cells of the messages, a Note Pad drawing decoded (the
// device's 152 x 140 and the largest one decoded, 2048 x 2048), the images
// export of 1000 drawings (PNG made by libpng), and a 1 MB photo joined from
// its 4 KB blocks. `per_record` is the time of one entry.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "dump/DatabaseModel.h"
#include "dump/records/NotePadRecord.h"
#include "dump/records/PhotoRecord.h"
#include "export/Export.h"
#include "formats/EntryText.h"
#include "formats/FormatTable.h"
#include "tools/fixtures/BigEndianWriter.h"
#include "tools/fixtures/PalmWriter.h"

namespace {

using namespace corvelle;
namespace s = corvelle::samples;

constexpr uint32_t kRecords = 10000;

std::string Texts(std::initializer_list<std::string> texts) {
    std::string out;
    for (const std::string& text : texts) out += text + '\0';
    return out;
}

struct File {
    explicit File(const s::PalmDatabase& database) {
        const std::string serialized = s::SerializePalmDatabase(database);
        bytes.assign(serialized.begin(), serialized.end());
    }
    std::vector<uint8_t> bytes;
};

s::PalmDatabase Database(const char* type, const char* creator, std::string appInfo) {
    s::PalmDatabase db;
    db.name = "Bench";
    db.type = type;
    db.creator = creator;
    db.appInfo = std::move(appInfo);
    return db;
}

// Messages of every folder with a paragraph of body, a third of them with
// names outside ASCII (encoded words), every tenth with a "From " line.
s::PalmDatabase Mail() {
    s::PalmDatabase db = Database("DATA", "mail", s::CategoryAppInfo({"Inbox", "Outbox", "Deleted", "Filed", "Draft"}));
    db.appInfo += std::string(10, '\0');
    for (uint32_t i = 0; i < kRecords; ++i) {
        std::string record;
        s::Put16(record, ((99 + i % 5) << 9) | ((1 + i % 12) << 5) | (1 + i % 28));
        s::Put8(record, i % 24);
        s::Put8(record, i % 60);
        s::Put16(record, (i & 1 ? 0x8000 : 0) | ((i % 3) << 10));
        const std::string who = i % 3 == 0 ? "M\xFCller J\xF6rg" : "Ann Lee";
        std::string body;
        for (int line = 0; line < 8; ++line) body += "We meet at the cafe on the square at ten, as agreed.\n";
        if (i % 10 == 0) body += "From the office, with regards\n";
        record += Texts({"Meeting " + std::to_string(i), who + " <ann" + std::to_string(i) + "@example.com>",
                         "bob@example.org, carl@example.org", "dora@example.com", "", "", "", body});
        db.records.push_back({static_cast<uint8_t>(0x40 | i % 5), 0x100000 + i, record});
    }
    return db;
}

s::PalmDatabase Expenses() {
    s::PalmDatabase db = Database("DATA", "exps", s::CategoryAppInfo({"Unfiled", "Trip to Bonn"}));
    db.appInfo += std::string(2 + 2 + 4 * 28, '\0');
    for (uint32_t i = 0; i < kRecords; ++i) {
        std::string record;
        s::Put16(record, ((99 + i % 5) << 9) | ((1 + i % 12) << 5) | (1 + i % 28));
        s::Put8(record, i % 28);
        s::Put8(record, i % 8);
        s::Put8(record, i % 33);
        s::Put8(record, 0);
        record += Texts({std::to_string(i % 500) + ".50", "Yellow Cab, Inc.", "Bonn", "Ann, Bob",
                         i % 4 == 0 ? "to the \"airport\"\nand back" : ""});
        db.records.push_back({static_cast<uint8_t>(0x40 | i % 2), 0x200000 + i, record});
    }
    return db;
}

// Eight fields of the user's own, the values a word or two each.
s::PalmDatabase JFileRows() {
    std::string appInfo;
    const char* const kNames[] = {"Title", "Author", "Year", "Read", "Shelf", "Price", "Lent to", "Note"};
    for (int i = 0; i < 50; ++i) {
        std::string name = i < 8 ? kNames[i] : "";
        name.resize(21, '\0');
        appInfo += name;
    }
    for (int i = 0; i < 50; ++i) s::Put16(appInfo, 1);
    s::Put16(appInfo, 8);
    s::Put16(appInfo, 452);
    s::Put16(appInfo, 80);
    for (int i = 0; i < 50; ++i) s::Put16(appInfo, 60);
    s::PalmDatabase db = Database("JbDb", "JBas", appInfo);
    for (uint32_t i = 0; i < kRecords; ++i) {
        const std::vector<std::string> values = {"The Night, and the River " + std::to_string(i), "Ann Lee", "1998",
                                                 "1", "B" + std::to_string(i % 40), "12.50", "", "signed, \"first\""};
        std::string record;
        for (const std::string& value : values) s::Put16(record, static_cast<uint32_t>(value.size() + 1));
        for (const std::string& value : values) record += value + '\0';
        db.records.push_back({0x40, 0x300000 + i, record});
    }
    return db;
}

// A drawing of the device's size in runs: a frame and strokes.
std::string Drawing(uint32_t width, uint32_t height) {
    const uint32_t rowBytes = (width + 15) / 16 * 2;
    std::string runs;
    for (uint32_t y = 0; y < height; ++y) {
        const bool edge = y == 0 || y + 1 == height;
        for (uint32_t x = 0; x < rowBytes;) {
            const uint32_t run = x + 4 <= rowBytes && !edge ? 4 : 1;
            s::Put8(runs, run);
            s::Put8(runs, edge ? 0xFF : (x == 0 ? 0x80 : static_cast<uint8_t>(y * 7 + x)));
            x += run;
        }
    }
    return runs;
}

std::string Note(uint32_t i, uint32_t width, uint32_t height) {
    std::string record;
    for (int time = 0; time < 2; ++time)
        for (uint32_t word : {12u, 34u, 9u, 29u, 2u, 2004u, 0u}) s::Put16(record, word);
    s::Put16(record, 0x0003);  // a drawing and a title
    const std::string title = "Map " + std::to_string(i);
    record += title + '\0';
    if ((title.size() + 1) % 2 == 1) record += '\0';
    const std::string data = Drawing(width, height);
    for (uint32_t word : {static_cast<uint32_t>(data.size() + 24), width, height, 0u, 1u,
                          static_cast<uint32_t>(data.size())})
        s::Put32(record, word);
    return record + data;
}

s::PalmDatabase Notes(uint32_t count, uint32_t width, uint32_t height) {
    s::PalmDatabase db = Database("DATA", "npad", s::CategoryAppInfo({"Unfiled"}));
    for (uint32_t i = 0; i < count; ++i) db.records.push_back({0x40, 0x400000 + i, Note(i, width, height)});
    return db;
}

// A picture's database: a 1 MB JPEG-like file in 4 KB blocks.
s::PalmDatabase Photo() {
    s::PalmDatabase db = Database("Foto", "Foto", "");
    std::string jpeg("\xFF\xD8\xFF\xE0", 4);
    for (uint32_t i = 0; jpeg.size() < 1000 * 1000 - 2; ++i) jpeg += static_cast<char>(i * 31 % 251);
    jpeg += "\xFF\xD9";
    for (size_t at = 0, block = 0; at < jpeg.size(); at += 4096, ++block) {
        const std::string piece = jpeg.substr(at, 4096);
        std::string record = "DBLK";
        s::Put32(record, static_cast<uint32_t>(piece.size()));
        db.records.push_back({0x40, static_cast<uint32_t>(0x500000 + block), record + piece});
    }
    return db;
}

void PerRecord(benchmark::State& state, uint32_t records, size_t outBytes) {
    state.counters["per_record"] =
        benchmark::Counter(records, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["out_MB"] = static_cast<double>(outBytes) / 1e6;
}

void Export(benchmark::State& state, const File& file, ExportType type) {
    const DatabaseModel model(file.bytes.data(), file.bytes.size());
    size_t size = 0;
    for (auto _ : state) {
        std::string out, error;
        if (!ExportToText(model, type, {}, out, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        size = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    PerRecord(state, static_cast<uint32_t>(model.Count()), size);
}

void BM_ExportMbox10000(benchmark::State& state) { Export(state, File(Mail()), ExportType::kMbox); }
void BM_ExportCsvExpense10000(benchmark::State& state) { Export(state, File(Expenses()), ExportType::kCsv); }
void BM_ExportCsvJFile10000(benchmark::State& state) { Export(state, File(JFileRows()), ExportType::kCsv); }

// The list's cells, as the Records page and --records make them.
void BM_MailList10000(benchmark::State& state) {
    const File file(Mail());
    const DatabaseModel model(file.bytes.data(), file.bytes.size());
    size_t size = 0;
    for (auto _ : state) {
        const DecodedDatabase database(model);
        std::string out;
        for (size_t i = 0; i < model.Count(); ++i) AppendEntryLine(database, i, out);
        size = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    PerRecord(state, kRecords, size);
}

void BM_DecodeNoteDrawing(benchmark::State& state) {
    const auto width = static_cast<uint32_t>(state.range(0)), height = static_cast<uint32_t>(state.range(1));
    const std::string record = Note(0, width, height);
    const NotePadRecord note = DecodeNotePad({reinterpret_cast<const uint8_t*>(record.data()), record.size()});
    for (auto _ : state) {
        IconImage image;
        std::string why;
        if (!DecodeNoteDrawing(note, image, why) || image.height != height) {
            state.SkipWithError("the drawing does not decode whole");
            break;
        }
        benchmark::DoNotOptimize(image.pixels.data());
    }
    state.counters["pixels_per_s"] =
        benchmark::Counter(static_cast<double>(width) * height, benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ExportImagesNotePad1000(benchmark::State& state) {
    const File file(Notes(1000, 152, 140));
    const DatabaseModel model(file.bytes.data(), file.bytes.size());
    const DecodedDatabase database(model);
    size_t size = 0;
    for (auto _ : state) {
        size = 0;
        std::string error;
        const auto keep = [&size](const std::string&, std::string_view bytes) {
            size += bytes.size();
            return true;
        };
        if (!ExportToFiles(database, ExportType::kImages, {}, keep, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
    }
    PerRecord(state, 1000, size);
}

void BM_JoinPhoto1MB(benchmark::State& state) {
    const File file(Photo());
    const DatabaseModel model(file.bytes.data(), file.bytes.size());
    for (auto _ : state) {
        const JoinedPhoto photo = JoinPhotoBlocks(model);
        if (!photo.problems.empty()) {
            state.SkipWithError(photo.problems.front().c_str());
            break;
        }
        benchmark::DoNotOptimize(photo.jpeg.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(file.bytes.size()));
}

}  // namespace

BENCHMARK(BM_ExportMbox10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCsvExpense10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportCsvJFile10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MailList10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeNoteDrawing)->Args({152, 140})->Args({2048, 2048})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExportImagesNotePad1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JoinPhoto1MB)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();

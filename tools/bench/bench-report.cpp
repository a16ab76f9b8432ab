// How fast reports are built: the largest databases Palm OS allows, built
// in-process from memory and from a mapped file. Bytes per second are report
// bytes produced. The same for the Records page's text (`--records`).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "dump/DatabaseModel.h"
#include "formats/EntryText.h"
#include "dump/LauncherIcon.h"
#include "dump/PalmDump.h"
#include "export/Export.h"
#include "io/MappedFile.h"
#include "tools/fixtures/BigEndianWriter.h"
#include "tools/fixtures/PalmWriter.h"

namespace {

void BuildFromMemory(benchmark::State& state, const corvelle::samples::PalmDatabase& database) {
    const std::string bytes = corvelle::samples::SerializePalmDatabase(database);
    const std::vector<uint8_t> file(bytes.begin(), bytes.end());
    size_t reportSize = 0;
    for (auto _ : state) {
        std::string report = corvelle::BuildReport(file.data(), static_cast<uint32_t>(file.size()));
        reportSize = report.size();
        benchmark::DoNotOptimize(report.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(reportSize));
    state.counters["report_MB"] = static_cast<double>(reportSize) / 1e6;
}

void BM_RecordReport65535(benchmark::State& state) {
    BuildFromMemory(state, corvelle::samples::SyntheticRecordDatabase(65535));
}
void BM_ResourceReport65535(benchmark::State& state) {
    BuildFromMemory(state, corvelle::samples::SyntheticResourceDatabase(65535));
}

// The synthetic database of 65535 records written to `path`, for the
// benchmarks that go through the file; a failure skips the benchmark.
bool WriteRecordDatabase65535(benchmark::State& state, const std::string& path) {
    const std::string bytes =
        corvelle::samples::SerializePalmDatabase(corvelle::samples::SyntheticRecordDatabase(65535));
    FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size()) {
        state.SkipWithError("cannot write the benchmark database");
        if (out) std::fclose(out);
        return false;
    }
    std::fclose(out);
    return true;
}

// The whole of what the viewer asks for: open, map, report, unmap.
void BM_DumpMappedFile65535Records(benchmark::State& state) {
    const std::string path = "/tmp/corvelle-bench-65535.pdb";
    if (!WriteRecordDatabase65535(state, path)) return;
    size_t reportSize = 0;
    for (auto _ : state) {
        std::string report = corvelle::DumpPalmFile(path.c_str());
        reportSize = report.size();
        benchmark::DoNotOptimize(report.data());
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(reportSize));
    state.counters["report_MB"] = static_cast<double>(reportSize) / 1e6;
}

// What `corvelle-dump --records` does, less the writing: the model built and
// every line appended to a buffer handed on (here: dropped) every 64 KB.
size_t RecordsText(const uint8_t* bytes, uint64_t size) {
    const corvelle::DatabaseModel model(bytes, size);
    std::string out;
    out.reserve(64 * 1024 + 1024);
    size_t total = 0;
    corvelle::AppendHeaderLine(model, out);
    const corvelle::DecodedDatabase database(model);
    for (size_t i = 0; i < model.Count(); ++i) {
        corvelle::AppendEntryLine(database, i, out);
        if (out.size() >= 64 * 1024) {
            benchmark::DoNotOptimize(out.data());
            total += out.size();
            out.clear();
        }
    }
    out += corvelle::EntryCountText(model);
    benchmark::DoNotOptimize(out.data());
    return total + out.size();
}

void RecordsFromMemory(benchmark::State& state, const corvelle::samples::PalmDatabase& database) {
    const std::string bytes = corvelle::samples::SerializePalmDatabase(database);
    const std::vector<uint8_t> file(bytes.begin(), bytes.end());
    size_t textSize = 0;
    for (auto _ : state) textSize = RecordsText(file.data(), file.size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(textSize));
    state.counters["text_MB"] = static_cast<double>(textSize) / 1e6;
}

void BM_RecordsList65535(benchmark::State& state) {
    RecordsFromMemory(state, corvelle::samples::SyntheticRecordDatabase(65535));
}
void BM_ResourcesList65535(benchmark::State& state) {
    RecordsFromMemory(state, corvelle::samples::SyntheticResourceDatabase(65535));
}

// --records of the mapped benchmark file, against BM_DumpMappedFile65535Records.
void BM_RecordsMappedFile65535(benchmark::State& state) {
    const std::string path = "/tmp/corvelle-bench-records-65535.pdb";
    if (!WriteRecordDatabase65535(state, path)) return;
    size_t textSize = 0;
    for (auto _ : state) {
        corvelle::MappedFile file;
        if (file.Open(path.c_str()) != corvelle::MappedFile::kMapped) {
            state.SkipWithError("cannot map the benchmark database");
            break;
        }
        textSize = RecordsText(file.View(), file.Size());
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(textSize));
    state.counters["text_MB"] = static_cast<double>(textSize) / 1e6;
}

// One thumbnail's worth of work on the sample application: the icon found in
// the resource list, the family's headers read, the chosen rendition decoded
// (at 22 pixels the 8-bit compressed one, at 96 the 16-bit 44 x 44 one).
void BM_DecodeLauncherIcon(benchmark::State& state) {
    const std::string bytes = corvelle::samples::SerializePalmDatabase(corvelle::samples::ApplicationSample());
    const std::vector<uint8_t> file(bytes.begin(), bytes.end());
    const auto box = static_cast<uint32_t>(state.range(0));
    for (auto _ : state) {
        corvelle::IconImage icon;
        if (!corvelle::DecodeLauncherIcon(file.data(), static_cast<uint32_t>(file.size()), box, box, icon)) {
            state.SkipWithError("the sample has no icon");
            break;
        }
        benchmark::DoNotOptimize(icon.pixels.data());
    }
}

// 10000 appointments as the Date Book stores them: timed, with an alarm, a
// weekly repeat with an end, an exception, a description and a note; the
// Calendar's the same with a location, one of three time zones and a meeting
// of two. Records differ, so that no writer meets one shape only.
std::string Appointment(uint32_t i, uint16_t flags) {
    std::string record;
    corvelle::samples::Put8(record, 8 + i % 10);
    corvelle::samples::Put8(record, i % 60);
    corvelle::samples::Put8(record, 9 + i % 10);
    corvelle::samples::Put8(record, 0);
    corvelle::samples::Put16(record, ((100 + i % 20) << 9) | ((1 + i % 12) << 5) | (1 + i % 28));
    corvelle::samples::Put16(record, 0x7C00 | flags);  // alarm, repeat, note, exceptions, description
    record += std::string("\x0A\x00\x02\x00", 4);      // 10 minutes; weekly
    corvelle::samples::Put16(record, (121 << 9) | (12 << 5) | 31);
    record += std::string("\x01\x2A\x00\x00", 4);      // every week on Mon, Wed and Fri
    corvelle::samples::Put16(record, 1);
    corvelle::samples::Put16(record, ((101 + i % 20) << 9) | (2 << 5) | 3);
    record += "Meeting number " + std::to_string(i) + std::string(1, '\0') + "Bring the papers, and the pens" +
              std::string(1, '\0');
    return record;
}

std::string Blob(const char* id, const std::string& data) {
    std::string blob = id;
    corvelle::samples::Put16(blob, static_cast<uint32_t>(data.size()));
    return blob + data;
}

corvelle::samples::PalmDatabase Appointments(const char* creator, uint32_t count) {
    static const char* const kZones[3] = {"Berlin", "Sydney", "Kolkata"};
    static const char* const kChanges[3] = {"\x02\x00\x04\x03\x03\x00\x04\x0A", "\x02\x00\x00\x0A\x03\x00\x00\x04",
                                            "\x00\x00\x00\x01\x00\x00\x00\x01"};
    corvelle::samples::PalmDatabase database;
    database.name = creator;
    database.creator = creator;
    const bool calendar = database.creator == "PDat";
    for (uint32_t i = 0; i < count; ++i) {
        std::string record = Appointment(i, calendar ? 0x0200 : 0);
        if (calendar) {
            record += "Room " + std::to_string(i % 50) + std::string(1, '\0');
            std::string zone;
            corvelle::samples::Put16(zone, i % 3 == 0 ? 60 : i % 3 == 1 ? 600 : 330);
            zone += std::string(kChanges[i % 3], 8);
            corvelle::samples::Put16(zone, i % 3 == 2 ? 0 : 60);
            zone += std::string("\x07\x00", 2) + kZones[i % 3] + std::string(1, '\0');
            const std::string meeting = std::string("\x01\x00\x00\x02\x00", 5) + "Ana Lima" + std::string(1, '\0') +
                                        "ana@example.org" + std::string(1, '\0') + "\x01" + "Bo Berg" +
                                        std::string(1, '\0') + "bo@example.org" + std::string(1, '\0');
            record += Blob("Bd00", zone) + Blob("Bd01", meeting);
        }
        database.records.push_back({static_cast<uint8_t>(i % 4), 0x100000 + i, record});
    }
    return database;
}

// --export ics in memory: the model, the table of formats and the writer.
void ExportIcs(benchmark::State& state, const char* creator) {
    constexpr uint32_t kRecords = 10000;
    const std::string bytes = corvelle::samples::SerializePalmDatabase(Appointments(creator, kRecords));
    const std::vector<uint8_t> file(bytes.begin(), bytes.end());
    const corvelle::DatabaseModel model(file.data(), file.size());
    const corvelle::DecodedDatabase database(model);
    size_t outSize = 0;
    for (auto _ : state) {
        std::string out, error;
        if (!corvelle::ExportToText(database, corvelle::ExportType::kICalendar, {}, out, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        outSize = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kRecords);
    state.counters["us_per_record"] = benchmark::Counter(kRecords / 1e6, benchmark::Counter::kIsIterationInvariantRate |
                                                                            benchmark::Counter::kInvert);
    state.counters["ics_MB"] = static_cast<double>(outSize) / 1e6;
}

void BM_ExportIcsDateBook10000(benchmark::State& state) { ExportIcs(state, "date"); }
void BM_ExportIcsCalendar10000(benchmark::State& state) { ExportIcs(state, "PDat"); }
// --export vcard of 10000 contacts, the same person in both address books:
// names, company, title, five phones, one address and a note; Contacts then
// also with an IM, a website, a birthday and a 1 KB picture. The counter is
// the time per record.
constexpr uint32_t kContacts = 10000;

std::string Texts(std::initializer_list<const char*> texts) {
    std::string out;
    for (const char* text : texts) out += std::string(text) + '\0';
    return out;
}

corvelle::samples::PalmDatabase AddressBook(const char* creator, const std::string& record) {
    corvelle::samples::PalmDatabase db;
    db.name = "Bench contacts";
    db.creator = creator;
    db.appInfo = corvelle::samples::CategoryAppInfo({"Unfiled", "Business"});
    db.records.resize(kContacts);
    for (uint32_t i = 0; i < kContacts; ++i)
        db.records[i] = {static_cast<uint8_t>(0x40 | (i & 1)), 0x200000 + i, record};
    return db;
}

std::string AddressRecord() {
    std::string out;
    corvelle::samples::Put32(out, 0x00243210);  // Work, Home, Fax, Other, E-mail; Fax shown
    corvelle::samples::Put32(out, 0x00043FFF);  // names, company, phones 1-5, address to country, title, note
    out += '\0';
    return out + Texts({"Doe", "Jane", "Acme Corp.", "555-0100", "555-0101", "555-0102", "555-0103",
                        "jane@example.com", "1 Main St", "Springfield", "IL", "62701", "USA", "Engineer",
                        "Met at the fair; likes tea, and long walks"});
}

std::string ContactsRecord(bool everything) {
    std::string out;
    corvelle::samples::Put32(out, 0x20043210);  // the same labels and shown phone
    corvelle::samples::Put16(out, 0x0000);      // address 1 at work
    corvelle::samples::Put16(out, 0x0001);      // IM 1 on AIM
    corvelle::samples::Put32(out, 0x0F8001FF | (everything ? 1u << 11 | 1u << 13 : 0));
    corvelle::samples::Put32(out, 0x0400 | (everything ? 0x3800 : 0));
    out += '\0';
    out += Texts({"Doe", "Jane", "Acme Corp.", "Engineer", "555-0100", "555-0101", "555-0102", "555-0103",
                  "jane@example.com"});
    if (everything) out += Texts({"janedoe", "www.example.com/jane"});
    out += Texts({"1 Main St", "Springfield", "IL", "62701", "USA", "Met at the fair; likes tea, and long walks"});
    if (!everything) return out;
    corvelle::samples::Put16(out, (70 << 9) | (3 << 5) | 14);
    corvelle::samples::Put16(out, 1);
    corvelle::samples::Put8(out, 3);
    out += "Bd00";
    corvelle::samples::Put16(out, 1026);
    return out + std::string("\0\0\xFF\xD8", 4) + std::string(1022, '\x5A');
}

void ExportVCards(benchmark::State& state, const corvelle::samples::PalmDatabase& database) {
    const std::string bytes = corvelle::samples::SerializePalmDatabase(database);
    const std::vector<uint8_t> file(bytes.begin(), bytes.end());
    const corvelle::DatabaseModel model(file.data(), file.size());
    size_t size = 0;
    for (auto _ : state) {
        std::string out, error;
        if (!corvelle::ExportToText(model, corvelle::ExportType::kVCard, {}, out, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        size = out.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["per_record"] = benchmark::Counter(
        kContacts, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["vcard_MB"] = static_cast<double>(size) / 1e6;
}

void BM_ExportVCardAddress10000(benchmark::State& state) { ExportVCards(state, AddressBook("addr", AddressRecord())); }
void BM_ExportVCardContacts10000(benchmark::State& state) {
    ExportVCards(state, AddressBook("PAdd", ContactsRecord(false)));
}
void BM_ExportVCardContactsWithPicture10000(benchmark::State& state) {
    ExportVCards(state, AddressBook("PAdd", ContactsRecord(true)));
}

BENCHMARK(BM_RecordReport65535)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResourceReport65535)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DumpMappedFile65535Records)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordsList65535)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResourcesList65535)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordsMappedFile65535)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeLauncherIcon)->Arg(22)->Arg(96)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ExportIcsDateBook10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportIcsCalendar10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportVCardAddress10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportVCardContacts10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportVCardContactsWithPicture10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

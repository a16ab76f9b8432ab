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
#include "io/MappedFile.h"
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
    for (size_t i = 0; i < model.Count(); ++i) {
        corvelle::AppendEntryLine(model, i, out);
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

BENCHMARK(BM_RecordReport65535)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResourceReport65535)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DumpMappedFile65535Records)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordsList65535)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ResourcesList65535)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordsMappedFile65535)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DecodeLauncherIcon)->Arg(22)->Arg(96)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();

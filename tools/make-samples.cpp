// Writes the bundled sample databases into a folder, or one synthetic
// database of many entries for benchmarks and stress tests.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/PalmWriter.h"

namespace {

bool WriteFile(const std::string& path, const std::string& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "make-samples: cannot write %s\n", path.c_str());
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

int Usage() {
    std::fputs("Usage: make-samples DIR              write Memos.pdb, Hello.prc and Query.pqa into DIR\n"
               "       make-samples --records N FILE  write a database of N records (1 to 65535)\n"
               "       make-samples --resources N FILE  write an application of N resources\n",
               stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace corvelle::samples;
    if (argc == 2) {
        const std::string dir = argv[1];
        return WriteFile(dir + "/Memos.pdb", SerializePalmDatabase(MemoSample())) &&
                       WriteFile(dir + "/Hello.prc", SerializePalmDatabase(ApplicationSample())) &&
                       WriteFile(dir + "/Query.pqa", SerializePalmDatabase(QuerySample()))
                   ? 0
                   : 1;
    }
    if (argc == 4 && (std::strcmp(argv[1], "--records") == 0 || std::strcmp(argv[1], "--resources") == 0)) {
        const long count = std::strtol(argv[2], nullptr, 10);
        if (count < 1 || count > 65535) return Usage();
        const PalmDatabase db = argv[1][2] == 'r' && argv[1][4] == 'c'
                                    ? SyntheticRecordDatabase(static_cast<uint32_t>(count))
                                    : SyntheticResourceDatabase(static_cast<uint32_t>(count));
        return WriteFile(argv[3], SerializePalmDatabase(db)) ? 0 : 1;
    }
    return Usage();
}

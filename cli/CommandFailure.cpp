#include "cli/CommandFailure.h"

#include <cctype>
#include <cstdio>

#include "dump/PalmDump.h"

namespace corvelle_dump {

int Fail(const char* subject, const std::string& why) {
    std::fprintf(stderr, "corvelle-dump: %s: %s\n", subject, why.c_str());
    return 1;
}

std::string FailureReason(int status, uint32_t size) {
    std::string reason = corvelle::OpenFailureText(status, size);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.'))
        reason.pop_back();
    if (!reason.empty()) reason[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(reason[0])));
    return reason;
}

bool OpenOrSay(corvelle::MappedFile& file, const char* path) {
    const int status = file.Open(path);
    if (status == corvelle::MappedFile::kMapped) return true;
    Fail(path, FailureReason(status, file.Size()));
    return false;
}

}  // namespace corvelle_dump

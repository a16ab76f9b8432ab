#include "viewer/SystemFigures.h"

#include <windows.h>
#include <psapi.h>

namespace {

using GetProcessMemoryInfoProc = BOOL(WINAPI*)(HANDLE, PROCESS_MEMORY_COUNTERS*, DWORD);

// The process's commit charge, 0 where the system cannot say. Taken from
// kernel32 by name, where it lives since Windows 7, rather than by an import
// of psapi.dll.
uint64_t ProcessCommitCharge() {
    static const auto getInfo = reinterpret_cast<GetProcessMemoryInfoProc>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "K32GetProcessMemoryInfo")));
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (getInfo == nullptr || !getInfo(::GetCurrentProcess(), &counters, sizeof(counters))) {
        return 0;
    }
    return counters.PagefileUsage;
}

class Win32Figures final : public corvelle::FillEnvironment {
public:
    corvelle::MemoryRoom Memory() override {
        MEMORYSTATUSEX status{};
        status.dwLength = sizeof(status);
        if (!::GlobalMemoryStatusEx(&status)) {
            return corvelle::MemoryRoom{};  // no figures: no room
        }
        return corvelle::MemoryRoom{status.ullTotalVirtual, status.ullAvailVirtual, status.ullAvailPhys,
                                    ProcessCommitCharge()};
    }

    double NowMs() override {
        LARGE_INTEGER frequency{};
        LARGE_INTEGER now{};
        ::QueryPerformanceFrequency(&frequency);
        ::QueryPerformanceCounter(&now);
        return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
    }

    std::optional<uint64_t> Megabytes(const char* name) override {
        char value[32] = {};
        const DWORD length = ::GetEnvironmentVariableA(name, value, sizeof(value));
        if (length == 0 || length >= sizeof(value)) {
            return std::nullopt;
        }
        return corvelle::ParseMegabytes(value);
    }
};

}  // namespace

corvelle::FillEnvironment& SystemFigures() {
    static Win32Figures figures;
    return figures;
}

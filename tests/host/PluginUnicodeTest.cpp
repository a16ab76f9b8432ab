// ListLoadW: databases whose names the ANSI code page cannot write open by
// their UTF-16 names, and the name tests apply to those names.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Harness.h"
#include "dump/PalmDump.h"

namespace corvelle::host {
namespace {

using ListLoadWProc = HWND(__stdcall*)(HWND parentWin, WCHAR* fileToLoad, int showFlags);

std::wstring Widen(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(wide.size() - 1);
    return wide;
}

// A file under a UTF-16 name, removed again at the end of the test (the
// temporary directory's own clean-up works with ANSI names).
class WideNamedFile {
public:
    WideNamedFile(std::wstring path, const Bytes& content) : m_path(std::move(path)) {
        HANDLE file = CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return;
        DWORD written = 0;
        m_written = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written,
                              nullptr) &&
                    written == content.size();
        CloseHandle(file);
    }
    ~WideNamedFile() { DeleteFileW(m_path.c_str()); }
    WideNamedFile(const WideNamedFile&) = delete;
    WideNamedFile& operator=(const WideNamedFile&) = delete;

    const std::wstring& Path() const { return m_path; }
    bool Written() const { return m_written; }

private:
    std::wstring m_path;
    bool m_written = false;
};

struct WideName {
    const char* name;
    const wchar_t* fileName;
};

const std::vector<WideName> kWideNames = {
    {"Cyrillic", L"\x0417\x0430\x043C\x0435\x0442\x043A\x0438.pdb"},
    {"Greek", L"\x03A3\x03B7\x03BC\x03B5\x03B9\x03CE\x03C3\x03B5\x03B9\x03C2.PRC"},
};

class PluginLoadW : public testing::TestWithParam<WideName> {
protected:
    void SetUp() override {
        CORVELLE_REQUIRE_PLUGIN();
        m_loadW = PluginModule::Get().EntryAs<ListLoadWProc>("ListLoadW");
        ASSERT_NE(m_loadW, nullptr) << "ListLoadW is not exported";
    }

    HWND LoadW(const std::wstring& path) {
        std::wstring buffer = path;
        return m_loadW(m_lister.Handle(), &buffer[0], 0);
    }

    TempDir m_dir;
    ListerWindow m_lister;
    ListLoadWProc m_loadW = nullptr;
};

TEST_P(PluginLoadW, ShowsTheReportOfAFileNamedOutsideTheCodePage) {
    const WideNamedFile file(Widen(m_dir.Path()) + GetParam().fileName,
                             PalmDatabase::WithRecords(4).Name("wide name").Image());
    ASSERT_TRUE(file.Written());

    const HWND frame = LoadW(file.Path());
    ASSERT_NE(frame, nullptr);
    m_lister.Adopt(frame);
    const ViewerParts parts = FindViewerParts(frame);
    ASSERT_TRUE(parts.IsComplete()) << DescribeTree(frame);

    const std::string shown = ControlText(parts.dumpControl);
    EXPECT_EQ(shown, corvelle::DumpPalmFileW(file.Path().c_str()));
    EXPECT_NE(shown.find("wide name"), std::string::npos) << shown.substr(0, 200);
}

INSTANTIATE_TEST_SUITE_P(Names, PluginLoadW, testing::ValuesIn(kWideNames),
                         [](const testing::TestParamInfo<WideName>& info) {
                             return std::string(info.param.name);
                         });

struct RefusedWideName {
    const char* name;
    const wchar_t* path;
};

const std::vector<RefusedWideName> kRefusedWideNames = {
    {"OtherExtension", L"C:\\\x0434\x0430\x043D\x043D\x044B\x0435\\memo.txt"},
    {"NoBackslash", L"\x0437\x0430\x043C\x0435\x0442\x043A\x0438.pdb"},
    {"ComponentStartsWithTwoDots", L"C:\\data\\..\x03B1.pdb"},
    {"Empty", L""},
};

class PluginLoadWRefuses : public testing::TestWithParam<RefusedWideName> {};

TEST_P(PluginLoadWRefuses, ByNameAlone) {
    CORVELLE_REQUIRE_PLUGIN();
    const auto loadW = PluginModule::Get().EntryAs<ListLoadWProc>("ListLoadW");
    ASSERT_NE(loadW, nullptr);
    ListerWindow lister;
    std::wstring path = GetParam().path;
    path.push_back(L'\0');
    EXPECT_EQ(loadW(lister.Handle(), &path[0], 0), nullptr);
    EXPECT_TRUE(ChildrenOf(lister.Handle()).empty());
}

INSTANTIATE_TEST_SUITE_P(Names, PluginLoadWRefuses, testing::ValuesIn(kRefusedWideNames),
                         [](const testing::TestParamInfo<RefusedWideName>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
}  // namespace corvelle::host

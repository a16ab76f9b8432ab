// The one whole-file writer behind corvelle-dump -o and the Records page's
// export (an export streams into it piece by piece), the folder writer of the exports that write files, and the
// same-file check that keeps either from replacing the database it reads. A write that fails must leave the user's file as it was
// and nothing beside it; the failure is a real one, the file-size limit of
// the process (a full disk, for the writer), set in a child process.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>

#include "io/FolderWriter.h"
#include "io/SameFile.h"
#include "io/WholeFileWriter.h"
#include "tests/dump/TestFolder.h"

namespace corvelle {
namespace {

namespace fs = std::filesystem;

const std::string kUsersFile = "the file the user had there\n";
constexpr rlim_t kNoLimit = RLIM_INFINITY;

enum class Before { kNothing, kFile, kFolder };

struct WriteRow {
    const char* name;
    const char* target;  // in the test's folder
    Before before;
    std::string bytes;
    rlim_t sizeLimit;  // the process's file-size limit during the write
    bool written;
    bool committed = true;  // false: the stream is dropped after its writes
};
void PrintTo(const WriteRow& row, std::ostream* out) { *out << row.name; }

std::set<std::string> NamesIn(const std::string& folder) {
    std::set<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
    return names;
}

// The write, in a child whose file size is limited, with SIGXFSZ ignored so
// that the write sees EFBIG as it would ENOSPC: through a stream in pieces of
// 4 KB, as an export goes out, and committed or dropped. Its exit status:
// 0 written, 1 refused with a reason (or dropped with nothing failed), 2
// refused without a reason (or dropped after a failure).
int WriteInChild(const std::string& path, const std::string& bytes, rlim_t sizeLimit, bool commit) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{sizeLimit, sizeLimit};
        if (sizeLimit != kNoLimit && ::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(3);
        bool written = true;
        std::string error;
        {
            WholeFileStream stream(path);
            for (size_t at = 0; written && at < bytes.size(); at += 4096)
                written = stream.Write(std::string_view(bytes).substr(at, 4096));
            written = written && commit && stream.Commit();
            error = stream.Error();
        }
        if (!commit) ::_exit(error.empty() ? 1 : 2);
        if (written) ::_exit(0);
        ::_exit(error.empty() ? 2 : 1);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

class WholeFileWrites : public testing::TestWithParam<WriteRow> {};

TEST_P(WholeFileWrites, ReplaceTheTargetWholeOrLeaveItAsItWas) {
    const WriteRow& row = GetParam();
    TemporaryFolder folder;
    const std::string target = folder.path + "/" + row.target;
    if (row.before == Before::kFile) folder.Write(row.target, kUsersFile);
    if (row.before == Before::kFolder) fs::create_directory(target);
    const std::set<std::string> namesBefore = NamesIn(folder.path);

    EXPECT_EQ(WriteInChild(target, row.bytes, row.sizeLimit, row.committed), row.written ? 0 : 1);

    std::set<std::string> namesAfter = namesBefore;
    if (row.written) namesAfter.insert(row.target);
    EXPECT_EQ(NamesIn(folder.path), namesAfter) << "a temporary is left, or the target is gone";
    if (row.written) {
        EXPECT_EQ(ReadAll(target), row.bytes);
    } else if (row.before == Before::kFile) {
        EXPECT_EQ(ReadAll(target), kUsersFile);
    } else if (row.before == Before::kFolder) {
        EXPECT_TRUE(fs::is_directory(target) && fs::is_empty(target));
    }
}

const std::string kBig(64 * 1024, 'x');

INSTANTIATE_TEST_SUITE_P(
    Rows, WholeFileWrites,
    testing::Values(WriteRow{"NewFile", "out.vcf", Before::kNothing, "BEGIN:VCARD\r\n", kNoLimit, true},
                    WriteRow{"OverALongerFile", "out.vcf", Before::kFile, "short", kNoLimit, true},
                    WriteRow{"OverAShorterFile", "out.vcf", Before::kFile, kBig, kNoLimit, true},
                    WriteRow{"NothingOverAFile", "out.vcf", Before::kFile, "", kNoLimit, true},
                    WriteRow{"DiskFullOverAFile", "out.vcf", Before::kFile, kBig, 16 * 1024, false},
                    WriteRow{"DiskFullWithoutAFile", "out.vcf", Before::kNothing, kBig, 16 * 1024, false},
                    WriteRow{"TargetIsAFolder", "out.vcf", Before::kFolder, "x", kNoLimit, false},
                    WriteRow{"FolderMissing", "none/out.vcf", Before::kNothing, "x", kNoLimit, false},
                    WriteRow{"DroppedOverAFile", "out.vcf", Before::kFile, kBig, kNoLimit, false, false},
                    WriteRow{"DroppedWithoutAFile", "out.vcf", Before::kNothing, kBig, kNoLimit, false, false}),
    [](const auto& info) { return info.param.name; });

// The replacement is a new file: it takes over the permissions of the one it
// replaces, or an export over a private file would leave it readable by all.
TEST(WholeFileWrite, KeepsTheReplacedFilesPermissions) {
    TemporaryFolder folder;
    const std::string target = folder.Write("private.txt", kUsersFile);
    ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
    std::string error;
    ASSERT_TRUE(WriteWholeFile(target, "new", error)) << error;
    EXPECT_EQ(ReadAll(target), "new");
    struct stat status {};
    ASSERT_EQ(::stat(target.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
}

// A folder export is one step: a failure half way, or the writer dropped
// without a Commit, leaves the folder as it was (the user's own file of a name
// the export also writes put back), and a Commit keeps only the new files.
struct FolderRow {
    const char* name;
    bool folderThere;  // with the user's b.png and the database in it
    const char* failing;  // the third file, which cannot be written; null: none
    bool commit;
};
void PrintTo(const FolderRow& row, std::ostream* out) { *out << row.name; }

class FolderWrites : public testing::TestWithParam<FolderRow> {};

TEST_P(FolderWrites, AreWholeOrUndone) {
    const FolderRow& row = GetParam();
    TemporaryFolder folder;
    const std::string dir = folder.path + "/out";
    const std::string database = dir + "/db.pdb";
    if (row.folderThere) {
        fs::create_directory(dir);
        folder.Write("out/b.png", kUsersFile);
        folder.Write("out/db.pdb", kUsersFile);
    }
    const std::set<std::string> before = row.folderThere ? NamesIn(dir) : std::set<std::string>{};
    bool written = false;
    {
        FolderWriter writer(database, dir);
        ASSERT_TRUE(writer.Open()) << writer.Error();
        written = writer.Write("a.png", "new a") && writer.Write("b.png", "new b") &&
                  (row.failing == nullptr || writer.Write(row.failing, "x"));
        EXPECT_EQ(written, row.failing == nullptr) << writer.Error();
        if (written && row.commit) writer.Commit();
    }
    if (written && row.commit) {
        std::set<std::string> after = before;
        after.insert({"a.png", "b.png"});
        EXPECT_EQ(NamesIn(dir), after) << "a file set aside is left";
        EXPECT_EQ(ReadAll(dir + "/a.png") + ReadAll(dir + "/b.png"), "new anew b");
    } else if (!row.folderThere) {
        EXPECT_FALSE(fs::exists(dir)) << "the folder this run made is left";
    } else {
        EXPECT_EQ(NamesIn(dir), before);
        EXPECT_EQ(ReadAll(dir + "/b.png"), kUsersFile) << "the user's file is not put back";
    }
    if (row.folderThere) {
        EXPECT_EQ(ReadAll(database), kUsersFile);
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, FolderWrites,
                         testing::Values(FolderRow{"CommittedOverTheUsersFile", true, nullptr, true},
                                         FolderRow{"CommittedIntoANewFolder", false, nullptr, true},
                                         FolderRow{"TheDatabaseItselfUndoesAll", true, "db.pdb", true},
                                         FolderRow{"AFailureUndoesAll", true, "none/c.png", true},
                                         FolderRow{"AFailureTakesTheNewFolder", false, "none/c.png", true},
                                         FolderRow{"DroppedWithoutCommit", true, nullptr, false}),
                         [](const auto& info) { return info.param.name; });

struct SameFileRow {
    const char* name;
    const char* other;  // beside db.pdb, which also has a hard link, a symbolic link and a copy
    bool same;
};
void PrintTo(const SameFileRow& row, std::ostream* out) { *out << row.name; }

class SameFiles : public testing::TestWithParam<SameFileRow> {};

TEST_P(SameFiles, AreKnownByIdentityNotByName) {
    TemporaryFolder folder;
    const std::string database = folder.Write("db.pdb", kUsersFile);
    folder.Write("copy.pdb", kUsersFile);
    fs::create_directory(folder.path + "/sub");
    ASSERT_EQ(::link(database.c_str(), (folder.path + "/hard.pdb").c_str()), 0);
    ASSERT_EQ(::symlink("db.pdb", (folder.path + "/soft.pdb").c_str()), 0);
    const std::string other = folder.path + "/" + GetParam().other;
    EXPECT_EQ(IsSameFile(other, database), GetParam().same);
    EXPECT_EQ(IsSameFile(database, other), GetParam().same);
}

INSTANTIATE_TEST_SUITE_P(Rows, SameFiles,
                         testing::Values(SameFileRow{"ItsOwnName", "db.pdb", true},
                                         SameFileRow{"AnotherSpelling", "sub/.././db.pdb", true},
                                         SameFileRow{"AHardLink", "hard.pdb", true},
                                         SameFileRow{"ASymbolicLink", "soft.pdb", true},
                                         SameFileRow{"ACopy", "copy.pdb", false},
                                         SameFileRow{"AMissingFile", "missing.pdb", false}),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace corvelle

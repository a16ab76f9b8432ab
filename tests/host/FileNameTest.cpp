// ListLoad decides from the name alone whether a file is one of ours.
#include <gtest/gtest.h>

#include "ViewerFixture.h"

namespace corvelle::host {
namespace {

struct NameCase {
  const char* name;
  // The file written into the test's directory (empty: none).
  const char* fileToWrite;
  // The path given to ListLoad: "$" stands for the test's directory
  // (with its trailing backslash).
  const char* path;
  bool handled;
};

const NameCase kNames[] = {
    {"UpperCaseExtension", "Memo.PDB", "$Memo.PDB", true},
    {"ResourceDatabase", "app.prc", "$app.prc", true},
    {"MixedCaseQueryApp", "query.Pqa", "$query.Pqa", true},
    {"OnlyAnExtension", ".pdb", "$.pdb", true},
    {"BackupSuffix", "memo.pdb.bak", "$memo.pdb.bak", false},
    {"NoDot", "memo", "$memo", false},
    {"DotOnlyInDirectory", "", "$my.dir\\memo", false},
    {"EmptyExtension", "", "$memo.", false},
    {"OtherExtension", "memo.txt", "$memo.txt", false},
    {"ExtensionPrefix", "memo.pd", "$memo.pd", false},
    {"ExtensionWithSuffix", "memo.pdbx", "$memo.pdbx", false},
    {"TwoDotsFirst", "..memo.pdb", "$..memo.pdb", false},
    {"ParentDirectory", "", "$..", false},
    {"NoBackslash", "", "memo.pdb", false},
    {"ForwardSlashesOnly", "", "C:/data/memo.pdb", false},
    {"EmptyPath", "", "", false},
};

void PrintTo(const NameCase& row, std::ostream* out) { *out << row.name; }

class FileNames : public ViewerParamTest<NameCase> {};

TEST_P(FileNames, DecideWhetherAViewerIsMade) {
  const NameCase& row = GetParam();
  if (*row.fileToWrite) WriteDatabase(PalmDatabase::WithRecords(2), row.fileToWrite);
  std::string path = row.path;
  if (!path.empty() && path[0] == '$') path = m_dir.Path() + path.substr(1);

  ListerWindow lister;
  size_t windowsBefore = ThreadWindows().size();
  HWND viewer = lister.Open(path);
  if (row.handled) {
    EXPECT_NE(viewer, nullptr) << path;
    EXPECT_TRUE(FindViewerParts(viewer).IsComplete()) << DescribeTree(viewer);
  } else {
    EXPECT_EQ(viewer, nullptr) << path;
    EXPECT_TRUE(ChildrenOf(lister.Handle()).empty()) << "a refused name left windows:\n"
                                                     << DescribeTree(lister.Handle());
    EXPECT_EQ(ThreadWindows().size(), windowsBefore);
  }
}

INSTANTIATE_TEST_SUITE_P(ListLoad, FileNames, testing::ValuesIn(kNames), RowName());

}  // namespace
}  // namespace corvelle::host

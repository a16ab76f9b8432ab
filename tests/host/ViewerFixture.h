// The fixture of the host's own tests: the module must be there, the host
// configuration starts empty, and each test has a directory of its own.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "Harness.h"

namespace corvelle::host {

// Points the plug-in's host-configuration lookup at `dir`, which holds no
// wincmd.ini until the test writes one: no Lister font, default tab stops.
inline void ResetHostConfiguration(const TempDir& dir) {
  PluginModule::Get().ListSetDefaultParams(dir.PathOf("plugins.ini"));
}

template <typename Base = testing::Test>
class HostTest : public Base {
 protected:
  void SetUp() override {
    CORVELLE_REQUIRE_PLUGIN();
    ASSERT_FALSE(m_dir.Path().empty()) << "no temporary directory";
    ResetHostConfiguration(m_dir);
  }

  // Writes the database as `name` in the test's directory and returns its path.
  std::string WriteDatabase(const PalmDatabase& database, const std::string& name = "test.pdb") {
    return m_dir.Write(name, database.Image());
  }

  TempDir m_dir;
};

using ViewerTest = HostTest<>;
template <typename Param>
using ViewerParamTest = HostTest<testing::TestWithParam<Param>>;

// Opens the file in the Lister and finds the viewer's windows; the caller
// asserts IsComplete() (with DescribeTree for the message).
inline ViewerParts OpenViewer(ListerWindow& lister, const std::string& path) {
  return FindViewerParts(lister.Open(path));
}

// GoogleTest's name generator for tables whose rows have a `name` member.
struct RowName {
  template <typename Row>
  std::string operator()(const testing::TestParamInfo<Row>& info) const {
    return info.param.name;
  }
};

}  // namespace corvelle::host

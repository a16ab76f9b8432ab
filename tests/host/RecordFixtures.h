// Databases of each record format for the Records page's tests, written with
// the sample writer: a few entries of each, every decoder met at least once.
#pragma once

#include <string>

namespace corvelle::host {

struct RecordFixture {
  const char* name;  // also the file's name, with .pdb or .prc
  std::string (*bytes)();
  bool resources;
};

extern const RecordFixture kRecordFixtures[7];

std::string MemoFixture();

}  // namespace corvelle::host

// Files that a test puts on disk: Palm databases written byte by byte,
// wincmd.ini and options files, all removed or restored afterwards.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace corvelle::host {

using Bytes = std::vector<uint8_t>;

// A Palm OS database image: the 78-byte big-endian header, then 8-byte
// record entries or 10-byte resource entries, then one data byte per entry.
struct PalmRecordEntry {
  uint8_t attributes = 0;
  uint32_t uniqueId = 0;  // 24 bits
};

struct PalmResourceEntry {
  char type[4] = {'c', 'o', 'd', 'e'};
  uint16_t id = 0;
};

class PalmDatabase {
 public:
  // `count` records of type "DATA", creator "memo", with varied attributes.
  static PalmDatabase WithRecords(uint32_t count);
  // `count` resources of an application (type "appl", creator "Test").
  static PalmDatabase WithResources(uint32_t count);

  PalmDatabase& Name(const std::string& name);
  PalmDatabase& Type(const char (&code)[5]);
  PalmDatabase& Creator(const char (&code)[5]);
  PalmDatabase& Attributes(uint16_t flags);
  PalmDatabase& Version(uint16_t version);
  PalmDatabase& Dates(uint32_t created, uint32_t modified, uint32_t backedUp);
  // The header's entry count when it is to differ from the entries written.
  PalmDatabase& CountField(uint16_t count);

  std::vector<PalmRecordEntry>& Records() { return m_records; }
  std::vector<PalmResourceEntry>& Resources() { return m_resources; }

  Bytes Image() const;

 private:
  std::string m_name = "Corvelle test";
  char m_type[4] = {'D', 'A', 'T', 'A'};
  char m_creator[4] = {'m', 'e', 'm', 'o'};
  uint16_t m_attributes = 0x0008;
  uint16_t m_version = 1;
  uint32_t m_created = 0xB8D35E80;
  uint32_t m_modified = 0xB8D35E80;
  uint32_t m_backedUp = 0;
  bool m_countOverride = false;
  uint16_t m_countField = 0;
  std::vector<PalmRecordEntry> m_records;
  std::vector<PalmResourceEntry> m_resources;
};

// A new, empty directory under the system's temporary directory, removed
// with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The directory with its trailing backslash.
  const std::string& Path() const { return m_path; }
  std::string PathOf(const std::string& name) const { return m_path + name; }
  // Writes the file and returns its full path.
  std::string Write(const std::string& name, const Bytes& content) const;
  std::string Write(const std::string& name, const std::string& content) const;

 private:
  std::string m_path;
};

bool WriteFileBytes(const std::string& path, const void* data, size_t size);
bool WriteFileBytes(const std::string& path, const std::string& content);
// The file's bytes; `exists` (when given) tells a missing file from an empty one.
std::string ReadFileBytes(const std::string& path, bool* exists = nullptr);
bool FileExists(const std::string& path);
// The last-write time, to show that a file was not written.
FILETIME LastWriteTime(const std::string& path);

// Gives a file the content for the object's lifetime, then puts back what was
// there (or removes it). For files the test does not own, such as the
// options file beside the module.
class ScopedFileContent {
 public:
  ScopedFileContent(const std::string& path, const std::string& content);
  ~ScopedFileContent();
  ScopedFileContent(const ScopedFileContent&) = delete;
  ScopedFileContent& operator=(const ScopedFileContent&) = delete;

 private:
  std::string m_path;
  bool m_existed;
  std::string m_previous;
};

// "[Lister]\r\nFont1=<font1>\r\n", the part of wincmd.ini the plug-in reads.
std::string WincmdIniText(const std::string& font1);
// A RECT as the profile functions store a 16-byte structure: the bytes in
// memory order as upper-case hex digit pairs, then the byte sum modulo 256.
std::string RectProfileValue(const RECT& rect);

}  // namespace corvelle::host

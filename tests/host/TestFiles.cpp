#include "TestFiles.h"

#include <cstdio>
#include <cstring>

namespace corvelle::host {
namespace {

constexpr size_t kHeaderSize = 78;
constexpr size_t kRecordEntrySize = 8;
constexpr size_t kResourceEntrySize = 10;

void PutBigEndian16(Bytes& out, size_t at, uint16_t value) {
  out[at] = static_cast<uint8_t>(value >> 8);
  out[at + 1] = static_cast<uint8_t>(value);
}

void PutBigEndian32(Bytes& out, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<uint8_t>(value >> (24 - 8 * i));
}

void PutCode(Bytes& out, size_t at, const char* code) { std::memcpy(&out[at], code, 4); }

bool RemoveTree(const std::string& directory) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((directory + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      std::string path = directory + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path + "\\");
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  return RemoveDirectoryA(directory.c_str()) != 0;
}

}  // namespace

PalmDatabase PalmDatabase::WithRecords(uint32_t count) {
  PalmDatabase database;
  database.m_records.resize(count);
  for (uint32_t i = 0; i < count; ++i) {
    // Every attribute combination and category in turn.
    database.m_records[i].attributes = static_cast<uint8_t>(i * 7);
    database.m_records[i].uniqueId = (0x100000 + i) & 0xFFFFFF;
  }
  return database;
}

PalmDatabase PalmDatabase::WithResources(uint32_t count) {
  PalmDatabase database;
  std::memcpy(database.m_type, "appl", 4);
  std::memcpy(database.m_creator, "Test", 4);
  database.m_attributes = 0x0001;
  static const char* const kTypes[] = {"code", "data", "tAIN", "tFRM", "MBAR", "pref"};
  database.m_resources.resize(count);
  for (uint32_t i = 0; i < count; ++i) {
    std::memcpy(database.m_resources[i].type, kTypes[i % 6], 4);
    database.m_resources[i].id = static_cast<uint16_t>(1000 + i);
  }
  return database;
}

PalmDatabase& PalmDatabase::Name(const std::string& name) {
  m_name = name;
  return *this;
}

PalmDatabase& PalmDatabase::Type(const char (&code)[5]) {
  std::memcpy(m_type, code, 4);
  return *this;
}

PalmDatabase& PalmDatabase::Creator(const char (&code)[5]) {
  std::memcpy(m_creator, code, 4);
  return *this;
}

PalmDatabase& PalmDatabase::Attributes(uint16_t flags) {
  m_attributes = flags;
  return *this;
}

PalmDatabase& PalmDatabase::Version(uint16_t version) {
  m_version = version;
  return *this;
}

PalmDatabase& PalmDatabase::Dates(uint32_t created, uint32_t modified, uint32_t backedUp) {
  m_created = created;
  m_modified = modified;
  m_backedUp = backedUp;
  return *this;
}

PalmDatabase& PalmDatabase::CountField(uint16_t count) {
  m_countOverride = true;
  m_countField = count;
  return *this;
}

Bytes PalmDatabase::Image() const {
  const bool resources = !m_resources.empty();
  const size_t entries = resources ? m_resources.size() : m_records.size();
  const size_t entrySize = resources ? kResourceEntrySize : kRecordEntrySize;
  const size_t listEnd = kHeaderSize + entries * entrySize;
  // Two bytes of padding after the list, as Palm OS writes it, then one data
  // byte per entry.
  const size_t dataStart = listEnd + 2;
  Bytes image(dataStart + entries, 0);

  std::memcpy(&image[0], m_name.data(), m_name.size() < 31 ? m_name.size() : 31);
  PutBigEndian16(image, 32, m_attributes);
  PutBigEndian16(image, 34, m_version);
  PutBigEndian32(image, 36, m_created);
  PutBigEndian32(image, 40, m_modified);
  PutBigEndian32(image, 44, m_backedUp);
  PutBigEndian32(image, 48, 7);
  PutBigEndian32(image, 52, 0);  // no AppInfo block
  PutBigEndian32(image, 56, 0);
  PutCode(image, 60, m_type);
  PutCode(image, 64, m_creator);
  PutBigEndian32(image, 68, static_cast<uint32_t>(entries + 1));
  PutBigEndian32(image, 72, 0);
  PutBigEndian16(image, 76, m_countOverride ? m_countField : static_cast<uint16_t>(entries));

  for (size_t i = 0; i < entries; ++i) {
    size_t at = kHeaderSize + i * entrySize;
    uint32_t dataOffset = static_cast<uint32_t>(dataStart + i);
    if (resources) {
      PutCode(image, at, m_resources[i].type);
      PutBigEndian16(image, at + 4, m_resources[i].id);
      PutBigEndian32(image, at + 6, dataOffset);
    } else {
      PutBigEndian32(image, at, dataOffset);
      image[at + 4] = m_records[i].attributes;
      image[at + 5] = static_cast<uint8_t>(m_records[i].uniqueId >> 16);
      image[at + 6] = static_cast<uint8_t>(m_records[i].uniqueId >> 8);
      image[at + 7] = static_cast<uint8_t>(m_records[i].uniqueId);
    }
    image[dataStart + i] = static_cast<uint8_t>(i);
  }
  return image;
}

TempDir::TempDir() {
  char base[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, base);
  static unsigned serial = 0;
  for (;;) {
    char name[64];
    std::snprintf(name, sizeof name, "corvelle-host-%lu-%u", GetCurrentProcessId(), ++serial);
    std::string candidate = std::string(base) + name;
    if (CreateDirectoryA(candidate.c_str(), nullptr)) {
      m_path = candidate + "\\";
      return;
    }
    if (GetLastError() != ERROR_ALREADY_EXISTS) return;
  }
}

TempDir::~TempDir() {
  if (!m_path.empty()) RemoveTree(m_path);
}

std::string TempDir::Write(const std::string& name, const Bytes& content) const {
  std::string path = PathOf(name);
  WriteFileBytes(path, content.data(), content.size());
  return path;
}

std::string TempDir::Write(const std::string& name, const std::string& content) const {
  std::string path = PathOf(name);
  WriteFileBytes(path, content);
  return path;
}

bool WriteFileBytes(const std::string& path, const void* data, size_t size) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr);
  CloseHandle(file);
  return ok && written == size;
}

bool WriteFileBytes(const std::string& path, const std::string& content) {
  return WriteFileBytes(path, content.data(), content.size());
}

std::string ReadFileBytes(const std::string& path, bool* exists) {
  std::string content;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (exists) *exists = file != INVALID_HANDLE_VALUE;
  if (file == INVALID_HANDLE_VALUE) return content;
  DWORD size = GetFileSize(file, nullptr);
  content.resize(size);
  DWORD read = 0;
  if (size > 0) ReadFile(file, content.data(), size, &read, nullptr);
  content.resize(read);
  CloseHandle(file);
  return content;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

FILETIME LastWriteTime(const std::string& path) {
  FILETIME written = {};
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) written = data.ftLastWriteTime;
  return written;
}

ScopedFileContent::ScopedFileContent(const std::string& path, const std::string& content) : m_path(path) {
  m_previous = ReadFileBytes(path, &m_existed);
  WriteFileBytes(path, content);
}

ScopedFileContent::~ScopedFileContent() {
  if (m_existed) {
    WriteFileBytes(m_path, m_previous);
  } else {
    DeleteFileA(m_path.c_str());
  }
}

std::string WincmdIniText(const std::string& font1) { return "[Lister]\r\nFont1=" + font1 + "\r\n"; }

std::string RectProfileValue(const RECT& rect) {
  int32_t fields[4] = {static_cast<int32_t>(rect.left), static_cast<int32_t>(rect.top),
                       static_cast<int32_t>(rect.right), static_cast<int32_t>(rect.bottom)};
  std::string value;
  unsigned sum = 0;
  char pair[3];
  for (int32_t field : fields) {
    uint32_t bits = static_cast<uint32_t>(field);
    for (int i = 0; i < 4; ++i) {  // least significant byte first, as in memory
      unsigned byte = (bits >> (8 * i)) & 0xFF;
      std::snprintf(pair, sizeof pair, "%02X", byte);
      value += pair;
      sum += byte;
    }
  }
  std::snprintf(pair, sizeof pair, "%02X", sum & 0xFF);
  return value + pair;
}

}  // namespace corvelle::host

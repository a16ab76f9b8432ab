// Where the Records page gets its bytes: the viewed file, read whole into
// memory once when the page is first shown and closed at once, so that the
// viewer never holds it open; and the header's resource flag, which names
// the page's tab before the page exists.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "viewer/records/PaneText.h"

namespace corvelle {

// The host's ANSI file name as UTF-16, in the ANSI code page it is written
// in; empty when it does not convert.
std::wstring WidenAnsiPath(const char* path);

// Reads the whole file at `path` into `bytes` (replacing what it held). A
// file that shrinks while it is read gives what it held; one above 4 GB is
// refused: the entry offsets of a Palm database are 32-bit.
// Bytes of the device's code page `codePage` (Windows' number) as UTF-16.
std::wstring WidenDeviceText(const std::string& text, unsigned codePage);

ReadResult ReadWholeFile(const std::wstring& path, std::vector<uint8_t>& bytes);

// What ListLoad needs to know of the file before the sheet is made, read
// from its 78 header bytes alone (one open and one read: under Wine each
// costs the host a millisecond): whether it holds resources (attribute bit
// 0001h), which names the third tab, and whether its format has a text to
// read (the Text page). Both false when the header cannot be read.
struct HeaderFacts {
    bool holdsResources = false;
    bool hasDocument = false;
};
HeaderFacts ReadHeaderFacts(const std::wstring& path);

}  // namespace corvelle

// The Win32 front end's edge: the model speaks UTF-8 and the file's own code
// page; the controls, the clipboard and the file dialogs take UTF-16.
#pragma once

#include <string>

namespace corvelle {

// The host's ANSI file name as UTF-16, in the ANSI code page it is written
// in; empty when it does not convert.
std::wstring WidenAnsiPath(const char* path);

// Bytes of the device's code page `codePage` (Windows' number) as UTF-16.
std::wstring WidenDeviceText(const std::string& text, unsigned codePage);

// UTF-8 (the model's own texts: menu items, messages) as UTF-16.
std::wstring WidenUtf8(const std::string& text);

// UTF-16 in the code page `codePage` (Windows' number; CP_ACP the ANSI one):
// a search text as the page's text holds it. Empty when it does not convert.
std::string NarrowWide(const std::wstring& text, unsigned codePage);

}  // namespace corvelle

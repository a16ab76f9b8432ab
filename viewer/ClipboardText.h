// Puts a text of the plug-in's own on the clipboard, for a copy that the
// rich-edit control cannot make from what it holds (the report still
// arriving, or cut for lack of memory).
#pragma once

#include <windows.h>

#include <string>

// Replaces the clipboard's content by `text` as CF_TEXT, with `hOwner` as the
// clipboard's owner. False, with the clipboard unchanged where possible,
// when it cannot be opened or the memory for the text cannot be had.
bool PutTextOnClipboard(HWND hOwner, const std::string& text);
// The same for UTF-16 text, as CF_UNICODETEXT (the system offers it as
// CF_TEXT too, to programs that ask for that).
bool PutTextOnClipboard(HWND hOwner, const std::wstring& text);

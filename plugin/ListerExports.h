// The entry points that the Lister looks up in the module by name. Declared
// here from the host's published calling convention: stdcall, 8-bit texts,
// results the host tests for null or 0.
#pragma once

#include <windows.h>

// What ListSendCommand answers: the command was carried out, or not.
inline constexpr int kListerOk = 0;
inline constexpr int kListerError = 1;

// The host's commands that the viewer carries out.
inline constexpr int kListerCommandCopy = 1;
inline constexpr int kListerCommandSelectAll = 3;

// The host's default-parameters record. Only the suggested INI path, a
// 260-character buffer at byte offset 12, is read; the rest stays opaque.
inline constexpr size_t kDefaultIniNameOffset = 12;
inline constexpr size_t kDefaultIniNameSize = 260;
struct ListDefaultParams;

extern "C" {
HWND __stdcall ListLoad(HWND hParentWin, char* pszFileToLoad, int nShowFlags);
// The same for a UTF-16 name, for files whose names the ANSI code page cannot hold.
HWND __stdcall ListLoadW(HWND hParentWin, WCHAR* pszFileToLoad, int nShowFlags);
int __stdcall ListSendCommand(HWND hListWin, int nCommand, int nParameter);
void __stdcall ListCloseWindow(HWND hListWin);
void __stdcall ListSetDefaultParams(ListDefaultParams* pParams);
// The expression by which the host offers the plug-in only our files.
void __stdcall ListGetDetectString(char* pszDetectString, int nMaxLen);
// The Lister's find command on the page in front; kListerOk when found.
int __stdcall ListSearchText(HWND hListWin, char* pszSearchString, int nSearchParameter);
// The same with a UTF-16 search text, which the host uses where it is offered.
int __stdcall ListSearchTextW(HWND hListWin, WCHAR* pszSearchString, int nSearchParameter);
}

// Where the plug-in's options and the host's Lister font come from. Read
// afresh on every ListLoad and never written anywhere.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "standards/CodePage.h"
#include "model/ListerFont.h"
#include "plugin/ProfileValues.h"
#include "plugin/SettingsPlatform.h"

namespace corvelle {

// Module-lifetime paths live in buffers of this many characters.
inline constexpr size_t kPathCapacity = 260;
// "Font1" and the registry texts are read into buffers of this size.
inline constexpr size_t kHostValueCapacity = 300;

inline constexpr char kDefaultOptionsIni[] = "quennet.ini";
inline constexpr char kOptionsSection[] = "Options";
inline constexpr char kHostIniName[] = "wincmd.ini";

// True for an existing file or directory; false for an empty path.
bool FileExists(SettingsPlatform& platform, const std::string& path);

// The module's own path with "ini" in place of its extension (the text after
// the last dot of the last component), so Corvelle.wlx and Corvelle.wlx64 both
// find Corvelle.ini. nullopt when the path is unknown or the result would not
// fit `capacity` characters with its terminator: a cut path names another file.
std::optional<std::string> OptionsPathBesideModule(const std::string& modulePath,
                                                   size_t capacity);

// Puts the path of the options file beside the module into `buffer` when that
// file exists; otherwise leaves the buffer as it is ("quennet.ini", or the
// file found by an earlier call).
void LocateOptionsFile(SettingsPlatform& platform, char* buffer, size_t capacity);

// The host's configuration file found through its registry key: HKCU first,
// then HKLM, only an "IniFileName" relative to "InstallDir" (beginning with a
// dot) is followed, and only when the combined path names a file. Anything
// else gives `fallback`.
std::string ResolveHostIni(SettingsPlatform& platform, const std::string& fallback);

// The host's Lister font from "Font1" in section "Lister" of `candidate`, or
// of the file that ResolveHostIni finds when `candidate` names no file.
ListerFont ReadListerFont(SettingsPlatform& platform, const std::string& candidate);

// The Lister window's saved position: applied only while "autosave" (default
// 1) is not 0 and "Rect" holds a valid structure value.
std::optional<SavedRect> ReadSavedHostRect(SettingsPlatform& platform,
                                           const std::string& optionsIni);

// What [Options] of the options file says about documents (books): the code
// page of a text whose format names none, from `Encoding=` (cp1252 when it is
// missing or names no page FindCodePage knows); and whether a database with a
// text opens on its Text page (`StartPage=text`, any letter case), which is
// asked only of such a database: every read of the file costs ListLoad.
const CodePageInfo& ReadTextEncoding(SettingsPlatform& platform, const std::string& optionsIni);
bool ReadStartOnText(SettingsPlatform& platform, const std::string& optionsIni);

// What ListSetDefaultParams keeps of the host's suggested INI path: its
// directory followed by "wincmd.ini". `suggested` is read no further than
// `suggestedCapacity` bytes. A path without a terminator in its buffer, or one
// whose directory and name do not fit kPathCapacity, gives "": a cut path
// would name another file, and the registry lookup then takes over.
std::string HostIniCandidate(const char* suggested, size_t suggestedCapacity);

}  // namespace corvelle

// The plug-in module as the file manager sees it: a DLL loaded once per
// process, whose Lister entry points are taken by name.
#pragma once

#include <windows.h>

#include <string>

namespace corvelle::host {

// The host's default-parameters structure of the Lister interface. The
// plug-in reads only the INI path, which sits at byte offset 12.
struct ListDefaultParams {
  int size;
  DWORD pluginInterfaceVersionLow;
  DWORD pluginInterfaceVersionHi;
  char defaultIniName[MAX_PATH];
};

// The entry points use stdcall: the callee removes the arguments. On x64 the
// keyword is accepted and ignored.
using ListLoadProc = HWND(__stdcall*)(HWND parentWin, char* fileToLoad, int showFlags);
using ListSendCommandProc = int(__stdcall*)(HWND listWin, int command, int parameter);
using ListCloseWindowProc = void(__stdcall*)(HWND listWin);
using ListSetDefaultParamsProc = void(__stdcall*)(ListDefaultParams* params);

// ListSendCommand's commands and results as the host passes and expects them.
constexpr int kListCommandCopy = 1;
constexpr int kListCommandSelectAll = 3;
constexpr int kListPluginOk = 0;
constexpr int kListPluginError = 1;

class PluginModule {
 public:
  // The one module of this process, loaded on first use.
  static PluginModule& Get();

  // Where the module is looked for, in this order: the path given here (the
  // host's --module= option), the CORVELLE_MODULE environment variable,
  // Corvelle.wlx (32-bit host) or Corvelle.wlx64 (64-bit host) beside the
  // host program. Must be called before the first Get().
  static void SetPathOverride(const std::string& path);

  // True when the module is loaded and exports all four entry points under
  // their undecorated names.
  bool IsLoaded() const { return m_loadError.empty(); }
  const std::string& LoadError() const { return m_loadError; }

  HMODULE Handle() const { return m_module; }
  const std::string& Path() const { return m_path; }
  // The module's directory, with its trailing backslash.
  std::string Directory() const;
  // The module's options file: its own path with "ini" for its extension.
  std::string OptionsIniPath() const;

  // An export by name (ListLoadW, ListSearchText, ListGetDetectString...);
  // null when the module lacks it.
  FARPROC Entry(const char* name) const;
  // The same, as a typed function pointer:
  //   auto detect = module.EntryAs<void(__stdcall*)(char*, int)>("ListGetDetectString");
  template <typename Proc>
  Proc EntryAs(const char* name) const {
    // Through void(*)(): the one cast between function types that GCC
    // accepts without a warning.
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(Entry(name)));
  }

  // The four entry points. Each records a test failure when the module is
  // not loaded and then does nothing.
  HWND ListLoad(HWND parentWin, const std::string& fileToLoad, int showFlags = 0) const;
  int ListSendCommand(HWND listWin, int command, int parameter = 0) const;
  void ListCloseWindow(HWND listWin) const;
  // Builds the structure with the given INI path (cut to 259 characters).
  void ListSetDefaultParams(const std::string& defaultIniName) const;

  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

 private:
  PluginModule();
  bool Require(const char* what) const;

  std::string m_path;
  std::string m_loadError;
  HMODULE m_module = nullptr;
  ListLoadProc m_listLoad = nullptr;
  ListSendCommandProc m_listSendCommand = nullptr;
  ListCloseWindowProc m_listCloseWindow = nullptr;
  ListSetDefaultParamsProc m_listSetDefaultParams = nullptr;
};

}  // namespace corvelle::host

// In a test or fixture SetUp: stop the test with the load error when the
// module or one of its entry points is missing.
#define CORVELLE_REQUIRE_PLUGIN()                                              \
  ASSERT_TRUE(::corvelle::host::PluginModule::Get().IsLoaded())                \
      << "plug-in module " << ::corvelle::host::PluginModule::Get().Path()     \
      << ": " << ::corvelle::host::PluginModule::Get().LoadError()

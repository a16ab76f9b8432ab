#include "PluginModule.h"

#include <gtest/gtest.h>

#include <cstring>

namespace corvelle::host {
namespace {

std::string& PathOverride() {
  static std::string path;
  return path;
}

std::string HostProgramDirectory() {
  char path[MAX_PATH] = {};
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string text(path, length);
  size_t slash = text.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : text.substr(0, slash + 1);
}

std::string DefaultModulePath() {
  const char* name = sizeof(void*) == 8 ? "Corvelle.wlx64" : "Corvelle.wlx";
  return HostProgramDirectory() + name;
}

std::string ChosenModulePath() {
  if (!PathOverride().empty()) return PathOverride();
  char fromEnvironment[MAX_PATH * 2] = {};
  DWORD length = GetEnvironmentVariableA("CORVELLE_MODULE", fromEnvironment, sizeof fromEnvironment);
  if (length > 0 && length < sizeof fromEnvironment) return fromEnvironment;
  return DefaultModulePath();
}

std::string LastErrorText(DWORD error) {
  char* text = nullptr;
  FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                 nullptr, error, 0, reinterpret_cast<char*>(&text), 0, nullptr);
  std::string result = "error " + std::to_string(error);
  if (text) {
    result += ": ";
    result += text;
    LocalFree(text);
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r')) result.pop_back();
  }
  return result;
}

}  // namespace

void PluginModule::SetPathOverride(const std::string& path) { PathOverride() = path; }

PluginModule& PluginModule::Get() {
  static PluginModule module;
  return module;
}

PluginModule::PluginModule() : m_path(ChosenModulePath()) {
  // A missing module must fail the tests, not stop the host on a system
  // error box that nobody can click away under Xvfb.
  UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  m_module = LoadLibraryA(m_path.c_str());
  DWORD error = GetLastError();
  SetErrorMode(oldMode);
  if (!m_module) {
    m_loadError = "LoadLibrary failed (" + LastErrorText(error) + ")";
    return;
  }
  // Taken by their plain names, as the file manager does: a module that
  // exports only stdcall-decorated names (ListLoad@12) is not usable.
  m_listLoad = EntryAs<ListLoadProc>("ListLoad");
  m_listSendCommand = EntryAs<ListSendCommandProc>("ListSendCommand");
  m_listCloseWindow = EntryAs<ListCloseWindowProc>("ListCloseWindow");
  m_listSetDefaultParams = EntryAs<ListSetDefaultParamsProc>("ListSetDefaultParams");
  std::string missing;
  if (!m_listLoad) missing += " ListLoad";
  if (!m_listSendCommand) missing += " ListSendCommand";
  if (!m_listCloseWindow) missing += " ListCloseWindow";
  if (!m_listSetDefaultParams) missing += " ListSetDefaultParams";
  if (!missing.empty()) m_loadError = "entry points not exported under their plain names:" + missing;
}

std::string PluginModule::Directory() const {
  size_t slash = m_path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : m_path.substr(0, slash + 1);
}

std::string PluginModule::OptionsIniPath() const {
  size_t slash = m_path.find_last_of("\\/");
  size_t dot = m_path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return m_path + ".ini";
  return m_path.substr(0, dot + 1) + "ini";
}

FARPROC PluginModule::Entry(const char* name) const {
  return m_module ? GetProcAddress(m_module, name) : nullptr;
}

bool PluginModule::Require(const char* what) const {
  if (IsLoaded()) return true;
  ADD_FAILURE() << what << ": plug-in module " << m_path << " not usable: " << m_loadError;
  return false;
}

HWND PluginModule::ListLoad(HWND parentWin, const std::string& fileToLoad, int showFlags) const {
  if (!Require("ListLoad")) return nullptr;
  // The interface passes a writable buffer; the plug-in gets its own copy.
  std::string buffer = fileToLoad;
  return m_listLoad(parentWin, buffer.data(), showFlags);
}

int PluginModule::ListSendCommand(HWND listWin, int command, int parameter) const {
  if (!Require("ListSendCommand")) return -1;
  return m_listSendCommand(listWin, command, parameter);
}

void PluginModule::ListCloseWindow(HWND listWin) const {
  if (!Require("ListCloseWindow")) return;
  m_listCloseWindow(listWin);
}

void PluginModule::ListSetDefaultParams(const std::string& defaultIniName) const {
  if (!Require("ListSetDefaultParams")) return;
  ListDefaultParams params;
  std::memset(&params, 0, sizeof params);
  params.size = sizeof params;
  params.pluginInterfaceVersionLow = 20;
  params.pluginInterfaceVersionHi = 2;
  std::strncpy(params.defaultIniName, defaultIniName.c_str(), MAX_PATH - 1);
  m_listSetDefaultParams(&params);
}

static_assert(offsetof(ListDefaultParams, defaultIniName) == 12, "the INI path must sit at byte offset 12");

}  // namespace corvelle::host

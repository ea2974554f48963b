#pragma once
// Loading a plug-in file and finding its entry, with a clear account of what went wrong.
#include <string>

#include "exit_codes.h"
#include "host_session.h"
#include "win32_handles.h"

namespace standin {

inline constexpr char kEntryName[] = "iTunesPluginMain";

struct LoadedPlugin {
  UniqueModule module;
  PluginEntry entry = nullptr;
  std::wstring full_path;
};

struct PluginLoad {
  LoadedPlugin plugin;
  ExitCode code = kExitOk;
  std::string message;  // what went wrong, for stderr; empty on success

  bool ok() const { return code == kExitOk; }
};

PluginLoad load_plugin(const std::wstring& path);

// `path` made absolute from the current folder; `path` itself when that fails.
std::wstring full_path_of(const std::wstring& path);

// The system's text for an error code, without the trailing line end.
std::string system_error_text(DWORD error);

}  // namespace standin

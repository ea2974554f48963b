#include "plugin_library.h"

#include "console.h"

namespace standin {

std::wstring full_path_of(const std::wstring& path) {
  const DWORD size = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (size == 0) return path;
  std::wstring full(size, L'\0');
  const DWORD written = GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
  if (written == 0 || written >= size) return path;
  full.resize(written);
  return full;
}

std::string system_error_text(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD size = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  const UniqueLocalMemory owner(buffer);
  std::wstring text(buffer ? buffer : L"", size);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
    text.pop_back();
  }
  return text.empty() ? "unknown error" : to_utf8(text);
}

PluginLoad load_plugin(const std::wstring& path) {
  PluginLoad result;
  const std::string shown = to_utf8(path);
  LoadedPlugin& plugin = result.plugin;
  plugin.full_path = full_path_of(path);

  const DWORD attributes = GetFileAttributesW(plugin.full_path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    result.code = kExitPluginNotLoadable;
    result.message = "plug-in not found: " + shown;
    return result;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    result.code = kExitPluginNotLoadable;
    result.message = "plug-in path is a folder, not a library: " + shown;
    return result;
  }

  // The altered search path lets the plug-in find libraries that sit beside it.
  plugin.module.reset(
      LoadLibraryExW(plugin.full_path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  if (!plugin.module) {
    const DWORD error = GetLastError();
    result.code = kExitPluginNotLoadable;
    result.message = "cannot load plug-in " + shown + ": " + system_error_text(error) + " (error " +
                     std::to_string(error) + ")";
    if (error == ERROR_BAD_EXE_FORMAT) {
      result.message += "; the plug-in and the stand-in must both be 32-bit or both 64-bit";
    }
    return result;
  }

  // FARPROC is a placeholder type; the export's real signature is the entry's.
  plugin.entry = reinterpret_cast<PluginEntry>(
      reinterpret_cast<void*>(GetProcAddress(plugin.module.get(), kEntryName)));
  if (!plugin.entry) {
    result.code = kExitEntryMissing;
    result.message = "plug-in " + shown + " does not export " + kEntryName;
    plugin.module.reset();
  }
  return result;
}

}  // namespace standin

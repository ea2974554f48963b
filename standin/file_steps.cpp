#include "file_steps.h"

#include <shlobj.h>

#include "byte_text.h"
#include "console.h"
#include "plugin_library.h"
#include "scenario.h"

namespace standin {

namespace {

std::string failure_text(DWORD error) {
  return system_error_text(error) + " (error " + std::to_string(error) + ")";
}

}  // namespace

std::wstring resolve_step_path(const std::string& path, std::string& error) {
  std::string expanded = path;
  if (names_documents(path)) {
    wchar_t folder[MAX_PATH] = {};
    const HRESULT hr =
        SHGetFolderPathW(nullptr, CSIDL_PERSONAL | CSIDL_FLAG_CREATE, nullptr, 0, folder);
    if (FAILED(hr)) {
      error =
          "the system does not name the Documents folder (" + hex(static_cast<uint32_t>(hr)) + ")";
      return {};
    }
    expanded = expand_documents(path, to_utf8(folder));
  }
  return full_path_of(from_utf8(expanded));
}

bool copy_file_whole(const std::wstring& source, const std::wstring& target, std::string& error) {
  const std::wstring partial = target + L".standin-partial";
  if (!CopyFileW(source.c_str(), partial.c_str(), FALSE)) {
    const DWORD code = GetLastError();
    // The system's error does not say which end failed; a missing source is the usual mistake.
    const DWORD attributes = GetFileAttributesW(source.c_str());
    error = attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)
                ? "cannot read the source: " + failure_text(code)
                : "cannot write beside the destination: " + failure_text(code);
    DeleteFileW(partial.c_str());
    return false;
  }
  if (!MoveFileExW(partial.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = "cannot put the copy in place: " + failure_text(GetLastError());
    DeleteFileW(partial.c_str());
    return false;
  }
  return true;
}

DeleteResult delete_file(const std::wstring& path, std::string& error) {
  if (DeleteFileW(path.c_str())) return DeleteResult::kDeleted;
  const DWORD code = GetLastError();
  if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return DeleteResult::kNotThere;
  error = failure_text(code);
  return DeleteResult::kFailed;
}

}  // namespace standin

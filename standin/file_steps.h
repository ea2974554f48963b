#pragma once
// The scenario's file steps: what a user or a tagger does in the folders the plug-in searches
// while a song plays.
#include <windows.h>

#include <string>

namespace standin {

// A scenario's path (UTF-8) as a full Windows path: a leading "%DOCUMENTS%\" becomes the
// user's Documents folder, a relative path is taken from the working folder. Empty, with
// `error` set, when the system does not name the Documents folder.
std::wstring resolve_step_path(const std::string& path, std::string& error);

// Copies `source` over `target`. The copy is made beside the target and then renamed onto it,
// so a search running on another thread never reads half a file.
bool copy_file_whole(const std::wstring& source, const std::wstring& target, std::string& error);

enum class DeleteResult { kDeleted, kNotThere, kFailed };

DeleteResult delete_file(const std::wstring& path, std::string& error);

}  // namespace standin

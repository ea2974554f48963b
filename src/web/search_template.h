#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "sources/txt_cleanup_8bit.h"

namespace sabla {

// What a search slot's template is: a web address ("http:" or "https:" at the start, exact
// case), the command line of a program (a drive path, bare or in double quotes), or neither.
enum class SearchTemplateKind { kWebAddress, kProgram, kInvalid };

SearchTemplateKind classify_search_template(std::u16string_view search_template);

// The artist, title and album that fill a template; an absent value is empty.
template <class Text>
struct SearchValues {
  Text artist;
  Text title;
  Text album;
};

// Room for a filled-in address (8-bit, terminator included) and a program's command line
// (UTF-16 units, terminator included). A result that does not fit is refused rather than cut:
// a cut address or command searches for, or runs, something the user never asked for.
inline constexpr size_t kSearchAddressBuffer = 2048;
inline constexpr size_t kSearchCommandBuffer = 2048;

// Replaces "[artist]", "[title]" and "[album]" with their values. Text that went in is never
// searched again, so a value holding a placeholder (an artist "[title]") stays as it is. In
// 8-bit text the search steps over whole characters of the code page whose lead bytes are
// given: the second byte of a double-byte character can be '[' (Shift_JIS "ゼ" is 83 5B).
std::string fill_search_placeholders(std::string_view text,
                                     const SearchValues<std::string_view>& values,
                                     const LeadBytes& lead_bytes);
std::u16string fill_search_placeholders(std::u16string_view text,
                                        const SearchValues<std::u16string_view>& values);

// The address for a web template already in the system code page, from the percent-encoded
// values; nothing when the template or the result does not fit kSearchAddressBuffer.
std::optional<std::string> make_search_address(std::string_view template_bytes,
                                               const SearchValues<std::string_view>& encoded,
                                               const LeadBytes& lead_bytes);

// A program template filled in: the command line and the folder it runs in.
enum class ProgramCommandStatus { kReady, kNoProgramPath, kTooLong };
struct ProgramCommand {
  ProgramCommandStatus status = ProgramCommandStatus::kNoProgramPath;
  std::u16string command_line;    // the values put in as they are
  std::u16string working_folder;  // empty: the caller's folder
};
ProgramCommand make_program_command(std::u16string_view search_template,
                                    const SearchValues<std::u16string_view>& values);

// The folder a program command runs in: the program path (inside leading double quotes, else up
// to the first space) up to its last '\'. A drive's root keeps its '\' ("C:\" rather than "C:",
// which would mean the drive's current folder). Empty when the path names no folder, so the
// program starts in the caller's; nothing when the command has no program path.
std::optional<std::u16string> program_working_folder(std::u16string_view command);

}  // namespace sabla

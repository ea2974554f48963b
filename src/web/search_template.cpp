#include "web/search_template.h"

#include <algorithm>
#include <array>
#include <utility>

namespace sabla {
namespace {

template <class Char>
struct Placeholders;
template <>
struct Placeholders<char> {
  static constexpr std::array<std::string_view, 3> names = {"[artist]", "[title]", "[album]"};
};
template <>
struct Placeholders<char16_t> {
  static constexpr std::array<std::u16string_view, 3> names = {u"[artist]", u"[title]", u"[album]"};
};

// One pass from left to right; `character_size` says how many units the character at a position
// takes, so a placeholder is only ever found where a character starts.
template <class Char, class CharacterSize>
std::basic_string<Char> fill(std::basic_string_view<Char> text,
                             const SearchValues<std::basic_string_view<Char>>& values,
                             CharacterSize character_size) {
  const std::array<std::basic_string_view<Char>, 3> replacements = {values.artist, values.title,
                                                                    values.album};
  std::basic_string<Char> out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    bool replaced = false;
    if (text[i] == Char('[')) {
      for (size_t k = 0; k < replacements.size(); ++k) {
        const auto name = Placeholders<Char>::names[k];
        if (text.substr(i, name.size()) == name) {
          out += replacements[k];
          i += name.size();
          replaced = true;
          break;
        }
      }
    }
    if (replaced) continue;
    const size_t step = std::min(character_size(i), text.size() - i);
    out.append(text.substr(i, step));
    i += step;
  }
  return out;
}

}  // namespace

SearchTemplateKind classify_search_template(std::u16string_view search_template) {
  // Search sites moved to https long ago; refusing their addresses as "invalid" would leave
  // the user no way to search most of them.
  if (search_template.substr(0, 5) == u"http:" || search_template.substr(0, 6) == u"https:") {
    return SearchTemplateKind::kWebAddress;
  }
  const bool drive_path = search_template.size() > 1 && search_template[1] == u':';
  const bool quoted_drive_path =
      search_template.size() > 2 && search_template[0] == u'"' && search_template[2] == u':';
  return drive_path || quoted_drive_path ? SearchTemplateKind::kProgram
                                         : SearchTemplateKind::kInvalid;
}

std::string fill_search_placeholders(std::string_view text,
                                     const SearchValues<std::string_view>& values,
                                     const LeadBytes& lead_bytes) {
  return fill<char>(text, values, [&](size_t i) -> size_t {
    return lead_bytes[static_cast<uint8_t>(text[i])] ? 2 : 1;
  });
}

std::u16string fill_search_placeholders(std::u16string_view text,
                                        const SearchValues<std::u16string_view>& values) {
  return fill<char16_t>(text, values, [](size_t) -> size_t { return 1; });
}

std::optional<std::string> make_search_address(std::string_view template_bytes,
                                               const SearchValues<std::string_view>& encoded,
                                               const LeadBytes& lead_bytes) {
  if (template_bytes.size() >= kSearchAddressBuffer) return std::nullopt;
  std::string address = fill_search_placeholders(template_bytes, encoded, lead_bytes);
  if (address.size() >= kSearchAddressBuffer) return std::nullopt;
  return address;
}

ProgramCommand make_program_command(std::u16string_view search_template,
                                    const SearchValues<std::u16string_view>& values) {
  ProgramCommand command;
  command.command_line = fill_search_placeholders(search_template, values);
  std::optional<std::u16string> folder = program_working_folder(command.command_line);
  if (!folder) {
    command.status = ProgramCommandStatus::kNoProgramPath;
  } else if (command.command_line.size() >= kSearchCommandBuffer) {
    command.status = ProgramCommandStatus::kTooLong;
  } else {
    command.status = ProgramCommandStatus::kReady;
    command.working_folder = std::move(*folder);
  }
  return command;
}

std::optional<std::u16string> program_working_folder(std::u16string_view command) {
  std::u16string_view path;
  if (!command.empty() && command[0] == u'"') {
    const std::u16string_view quoted = command.substr(1);
    path = quoted.substr(0, quoted.find(u'"'));
  } else {
    path = command.substr(0, command.find(u' '));
  }
  if (path.empty()) return std::nullopt;
  const size_t last = path.rfind(u'\\');
  if (last == std::u16string_view::npos) return std::u16string();
  std::u16string folder(path.substr(0, last));
  if (folder.size() == 2 && folder[1] == u':') folder += u'\\';
  return folder;
}

}  // namespace sabla

#pragma once
#include <array>
#include <string_view>

namespace sabla {

// Display names of the 256 virtual-key codes, for showing and choosing key bindings. The names
// are fixed (the punctuation ones follow the Japanese keyboard layout, which is what the users
// of this plug-in type on) and do not come from the system, so the table is the same everywhere.
class KeyNames {
 public:
  static constexpr int kKeyCount = 256;
  // What `key_code` answers when no code carries the name.
  static constexpr int kNoKey = 256;

  // Fills the table; until then, and after `free_key_names`, every code has the empty name and
  // no name finds a code.
  void build_key_names();
  void free_key_names();
  bool is_built() const { return built_; }

  // The name of `code`; the empty name for a code outside 0 to 255.
  std::u16string_view key_name(int code) const;
  // The first code whose name equals `name` exactly, or `kNoKey`. Unnamed codes have the empty
  // name, so the empty name finds the first unnamed code.
  int key_code(std::u16string_view name) const;

 private:
  std::array<std::u16string_view, kKeyCount> names_{};
  bool built_ = false;
};

// The fixed name of `code` (empty outside 0 to 255), the source the table is built from.
std::u16string_view default_key_name(int code);

}  // namespace sabla

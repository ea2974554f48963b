#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace sabla {

// The interface texts by string id, loaded once at "init" and kept as private copies. An id
// without a text reads as the empty text.
class StringTable {
 public:
  // Ids 1 to kLastId are loaded; anything outside reads as empty.
  static constexpr int32_t kLastId = 40068;
  // The longest text kept, in characters; the loader cuts longer ones.
  static constexpr size_t kMaxLength = 511;

  // Keeps `text` (cut to kMaxLength) as the text of `id`; ignored outside 1 to kLastId. An empty
  // text removes the entry.
  void set(int32_t id, std::u16string_view text);
  std::u16string_view text(int32_t id) const;
  void clear() { texts_.clear(); }
  size_t size() const { return texts_.size(); }

 private:
  std::map<int32_t, std::u16string> texts_;
};

}  // namespace sabla

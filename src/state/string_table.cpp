#include "state/string_table.h"

namespace sabla {

void StringTable::set(int32_t id, std::u16string_view text) {
  if (id < 1 || id > kLastId) return;
  if (text.empty()) {
    texts_.erase(id);
    return;
  }
  texts_[id] = std::u16string(text.substr(0, kMaxLength));
}

std::u16string_view StringTable::text(int32_t id) const {
  const auto found = texts_.find(id);
  if (found == texts_.end()) return {};
  return found->second;
}

}  // namespace sabla

#include "player/player_text.h"

#include "player/player_types.h"
#include "player/txt_cleanup.h"

namespace sabla {

std::u16string fit_to_buffer(std::u16string_view text, size_t buffer_units) {
  if (buffer_units == 0) return {};
  return std::u16string(text.substr(0, buffer_units - 1));
}

bool is_stream_location(std::u16string_view location) {
  constexpr std::u16string_view kScheme = u"http:";
  if (location.size() < kScheme.size()) return false;
  for (size_t i = 0; i < kScheme.size(); ++i) {
    char16_t c = location[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != kScheme[i]) return false;
  }
  return true;
}

std::u16string lyrics_for_player(std::u16string_view lyrics) {
  std::u16string text = fit_to_buffer(lyrics, kLyricsBufferUnits);
  strip_tags_for_txt(text);
  empty_meta_lines(text);
  return text;
}

}  // namespace sabla

#include "display/frame_overlay.h"

#include <algorithm>
#include <array>

#include "state/key_names.h"
#include "lyrics/lyric_document.h"
#include "settings/settings.h"

namespace sabla {
namespace {

constexpr int32_t kLinksLeft = 100;
constexpr int32_t kLinkGap = 16;
constexpr int32_t kOptionMargin = 5;
constexpr int32_t kStatusClearance = 10;

void append_two_digits(std::u16string& out, int32_t value) {
  // "%02d": at least two digits, a minus sign counting as one of them.
  std::string digits = std::to_string(value);
  if (digits.size() < 2) digits.insert(digits.begin(), 2 - digits.size(), '0');
  out.append(digits.begin(), digits.end());
}

// `pattern` with each "%s" replaced by the next of `names`.
std::u16string fill(std::u16string_view pattern, std::span<const std::u16string_view> names) {
  std::u16string out;
  size_t next = 0;
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == u'%' && i + 1 < pattern.size() && pattern[i + 1] == u's' &&
        next < names.size()) {
      out += names[next++];
      ++i;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

}  // namespace

std::u16string counter_text(int32_t play_ms) {
  // A negative start delay puts the clock before the song; the counter waits at zero rather
  // than showing "00:-1:-50".
  play_ms = std::max(play_ms, 0);
  const int32_t minutes = play_ms / 60000;
  const int32_t seconds = play_ms / 1000 - minutes * 60;
  const int32_t hundredths = play_ms % 1000 / 10;
  std::u16string text;
  append_two_digits(text, minutes);
  text += u':';
  append_two_digits(text, seconds);
  text += u':';
  append_two_digits(text, hundredths);
  return text;
}

std::u16string_view mode_word(int32_t display_mode) {
  switch (display_mode) {
    case kModeUntimed:
      return u"Auto Scroll";
    case kModeManualScroll:
      return u"Manual Scroll";
    case kModeEdit:
      return u"Edit mode";
    default:
      return {};
  }
}

std::u16string key_help_line(int32_t display_mode, const Settings& s, const KeyNames& keys) {
  if (display_mode == kModeManualScroll) {
    const std::array names = {keys.key_name(s.scroll_up), keys.key_name(s.scroll_down),
                              keys.key_name(s.edit_mode), keys.key_name(s.save_ipod)};
    return fill(
        u"%s/%s/Wheel=Scroll    %s=Edit mode    %s=Save iPod notes    WheelClick=Exit Manual "
        u"Scroll",
        names);
  }
  if (display_mode == kModeEdit) {
    const std::array names = {keys.key_name(s.scroll_up), keys.key_name(s.scroll_down),
                              keys.key_name(s.ins_tag),   keys.key_name(s.save_key),
                              keys.key_name(s.save_ipod), keys.key_name(s.edit_mode)};
    return fill(
        u"%s/%s/Wheel=Move cursor    %s=Insert timetag    Del/BS=Delete    %s=Save    %s=Save "
        u"iPod notes    %s/WheelClick=Exit Edit mode",
        names);
  }
  return {};
}

std::vector<Rect> search_link_rects(std::span<const Size> name_sizes, int32_t line_top) {
  std::vector<Rect> rects;
  rects.reserve(name_sizes.size());
  int32_t x = kLinksLeft;
  for (const Size& size : name_sizes) {
    rects.push_back(Rect{x, line_top, x + size.width, line_top + size.height});
    x += size.width + kLinkGap;
  }
  return rects;
}

Rect status_rect(int32_t width, int32_t height, int32_t option_width, bool options_open) {
  const int32_t right = options_open ? width : width - option_width - kStatusClearance;
  return Rect{0, height - kStatusLineHeight, right, height};
}

Rect option_button_rect(int32_t width, int32_t height, Size text) {
  return Rect{width - text.width - kOptionMargin, height - text.height, width, height};
}

bool contains(const Rect& rect, Point point) {
  return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top &&
         point.y <= rect.bottom;
}

}  // namespace sabla

#include "lyrics/standard_lrc.h"

#include <algorithm>
#include <span>
#include <utility>

#include "lyrics/timetag.h"

namespace sabla {
namespace {

bool is_digit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool is_letter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool is_blank(char16_t c) { return c == u' ' || c == u'\t'; }

char16_t lower(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; }

bool same_name(std::u16string_view name, std::u16string_view lower_case) {
  return std::equal(name.begin(), name.end(), lower_case.begin(), lower_case.end(),
                    [](char16_t a, char16_t b) { return lower(a) == b; });
}

// Up to `most` digits from `pos`; how many were read goes to `count`.
int64_t read_digits(std::u16string_view t, size_t& pos, size_t most, size_t& count) {
  int64_t value = 0;
  count = 0;
  while (pos < t.size() && count < most && is_digit(t[pos])) {
    value = value * 10 + (t[pos++] - u'0');
    ++count;
  }
  return value;
}

// A header tag line: "[name:value]" with a name of ASCII letters (digits, '_' and '-' after the
// first) and nothing but blanks behind it. The name and value go to the out parameters.
bool read_header(std::u16string_view line, std::u16string_view& name, std::u16string_view& value) {
  if (line.size() < 3 || line[0] != u'[' || !is_letter(line[1])) return false;
  size_t i = 2;
  while (i < line.size() && (is_letter(line[i]) || is_digit(line[i]) || line[i] == u'_' ||
                             line[i] == u'-')) {
    ++i;
  }
  if (i >= line.size() || line[i] != u':') return false;
  const size_t close = line.find(u']', i);
  if (close == std::u16string_view::npos) return false;
  for (size_t k = close + 1; k < line.size(); ++k) {
    if (!is_blank(line[k])) return false;
  }
  name = line.substr(1, i - 1);
  value = line.substr(i + 1, close - i - 1);
  return true;
}

// "[offset:+500]": a signed count of milliseconds, blanks allowed around it; kept within the
// native tag range so that no sum of it and a time can overflow.
std::optional<int32_t> read_offset(std::u16string_view value) {
  size_t i = 0;
  while (i < value.size() && is_blank(value[i])) ++i;
  bool negative = false;
  if (i < value.size() && (value[i] == u'+' || value[i] == u'-')) negative = value[i++] == u'-';
  size_t count = 0;
  const int64_t ms = read_digits(value, i, 10, count);
  while (i < value.size() && is_digit(value[i])) ++i;  // more digits only make it larger
  while (i < value.size() && is_blank(value[i])) ++i;
  if (count == 0 || i != value.size()) return std::nullopt;
  const int64_t clamped = std::min<int64_t>(ms, kMaxTagTimeMs);
  return static_cast<int32_t>(negative ? -clamped : clamped);
}

struct Line {
  std::u16string_view text;
  std::u16string_view name;  // header name, when it is a header
  std::u16string_view value;
  bool header = false;
  std::span<const LrcStamp> stamps;
  size_t rest = 0;  // where the text behind the leading stamps starts
};

// The lines of a text and, in one array for all of them, their leading stamps: a lyric file
// has hundreds of lines, and an array of stamps for each would be as many allocations.
struct Lines {
  std::vector<Line> lines;
  std::vector<LrcStamp> stamps;
};

Lines split_lines(std::u16string_view text) {
  Lines out;
  std::vector<Line>& lines = out.lines;
  lines.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), u'\n')) + 1);
  std::vector<std::pair<size_t, size_t>> stamp_ranges;  // first stamp and count, per line
  stamp_ranges.reserve(lines.capacity());
  size_t pos = 0;
  for (;;) {
    const size_t lf = text.find(u'\n', pos);
    std::u16string_view line = text.substr(pos, lf == std::u16string_view::npos ? lf : lf - pos);
    line = line.substr(0, line.find(u'\r'));
    Line& l = lines.emplace_back();
    l.text = line;
    l.header = read_header(line, l.name, l.value);
    const size_t first = out.stamps.size();
    if (!l.header) {
      while (const auto stamp = read_lrc_stamp(line, l.rest)) {
        out.stamps.push_back(*stamp);
        l.rest += stamp->length;
      }
    }
    stamp_ranges.emplace_back(first, out.stamps.size() - first);
    if (lf == std::u16string_view::npos) break;
    pos = lf + 1;
  }
  // Only now that the array has stopped growing can the lines point into it.
  for (size_t k = 0; k < lines.size(); ++k) {
    lines[k].stamps =
        std::span<const LrcStamp>(out.stamps).subspan(stamp_ranges[k].first, stamp_ranges[k].second);
  }
  return out;
}

int32_t shown_time(int64_t stamp_ms, int32_t offset_ms) {
  return static_cast<int32_t>(std::clamp<int64_t>(stamp_ms - offset_ms, 0, kMaxTagTimeMs));
}

// One line as placed by time: untimed lines take the time of the line they follow.
struct Placed {
  int64_t key;
  size_t order;
  int32_t time_ms;
  std::u16string_view rest;
};

void sort_placed(std::vector<Placed>& placed) {
  const auto before = [](const Placed& a, const Placed& b) {
    return a.key != b.key ? a.key < b.key : a.order < b.order;
  };
  // Most files are written in time order already; checking costs less than a merge sort.
  if (std::is_sorted(placed.begin(), placed.end(), before)) return;
  std::stable_sort(placed.begin(), placed.end(), before);
}

}  // namespace

std::optional<LrcStamp> read_lrc_stamp(std::u16string_view t, size_t pos) {
  if (pos >= t.size() || t[pos] != u'[') return std::nullopt;
  size_t i = pos + 1;
  size_t minute_digits = 0;
  const int64_t minutes = read_digits(t, i, 3, minute_digits);
  if (minute_digits == 0 || i >= t.size() || t[i] != u':') return std::nullopt;
  ++i;
  size_t second_digits = 0;
  const int64_t seconds = read_digits(t, i, 2, second_digits);
  if (second_digits != 2 || i >= t.size()) return std::nullopt;
  LrcStamp stamp;
  stamp.standard_only = minute_digits != 2;
  int64_t fraction_ms = 0;
  if (t[i] == u'.' || t[i] == u':') {
    const bool dot = t[i] == u'.';
    ++i;
    size_t fraction_digits = 0;
    const int64_t fraction = read_digits(t, i, dot ? 3 : 2, fraction_digits);
    if (dot ? fraction_digits == 0 : fraction_digits != 2) return std::nullopt;
    static constexpr int64_t kScale[] = {0, 100, 10, 1};
    fraction_ms = fraction * kScale[fraction_digits];
    stamp.standard_only = stamp.standard_only || dot;
    stamp.native_long = !dot && minute_digits == 2;
    if (!dot && minute_digits != 2) return std::nullopt;
  }
  if (i >= t.size() || t[i] != u']') return std::nullopt;
  stamp.ms = minutes * 60000 + seconds * 1000 + fraction_ms;
  stamp.length = i + 1 - pos;
  return stamp;
}

std::optional<StandardLrcText> read_standard_lrc(std::u16string_view text, size_t max_lines,
                                                 size_t max_chars) {
  const Lines split = split_lines(text);
  const std::vector<Line>& lines = split.lines;
  size_t standard = 0;
  size_t native = 0;
  for (const Line& line : lines) {
    if (!line.stamps.empty() && line.stamps.front().native_long) {
      ++native;
    } else if (line.header || line.stamps.size() > 1 ||
               std::any_of(line.stamps.begin(), line.stamps.end(),
                           [](const LrcStamp& s) { return s.standard_only; })) {
      ++standard;
    }
  }
  if (standard <= native) return std::nullopt;

  StandardLrcText result;
  LrcForm& form = result.form;
  for (const Line& line : lines) {
    if (!line.header) continue;
    form.header_lines.emplace_back(line.text);
    if (same_name(line.name, u"offset")) {
      if (const auto offset = read_offset(line.value)) form.offset_ms = *offset;
    } else if (same_name(line.name, u"ti")) {
      form.title = line.value;
    } else if (same_name(line.name, u"ar")) {
      form.artist = line.value;
    } else if (same_name(line.name, u"al")) {
      form.album = line.value;
    }
  }

  std::vector<Placed> placed;
  placed.reserve(lines.size() + split.stamps.size());
  int64_t key = -1;  // lines before the first stamp stay at the top
  size_t order = 0;
  for (const Line& line : lines) {
    if (line.header) continue;
    const std::u16string_view rest = line.text.substr(line.rest);
    if (line.stamps.empty()) {
      placed.push_back({key, order++, -1, rest});
      continue;
    }
    for (const LrcStamp& stamp : line.stamps) {
      const int32_t time = shown_time(stamp.ms, form.offset_ms);
      placed.push_back({time, order++, time, rest});
    }
    key = shown_time(line.stamps.front().ms, form.offset_ms);
  }
  sort_placed(placed);

  const size_t keep = std::min(placed.size(), max_lines);
  const size_t chars = max_chars > 0 ? max_chars - 1 : 0;
  result.lines.reserve(keep);
  for (size_t k = 0; k < keep; ++k) {
    std::u16string line;
    if (placed[k].time_ms >= 0) line = format_tag(placed[k].time_ms, TagForm::kLong).view();
    line.append(placed[k].rest.substr(0, chars - std::min(chars, line.size())));
    result.lines.push_back(std::move(line));
  }
  return result;
}

std::u16string format_lrc_stamp(int64_t ms) {
  ms = std::max<int64_t>(ms, 0);
  const int64_t minutes = ms / 60000;
  const int64_t seconds = ms / 1000 % 60;
  const int64_t hundredths = ms % 1000 / 10;
  std::u16string out = u"[";
  const std::string m = std::to_string(minutes);
  if (m.size() < 2) out += u'0';
  out.append(m.begin(), m.end());
  out += u':';
  out += static_cast<char16_t>(u'0' + seconds / 10);
  out += static_cast<char16_t>(u'0' + seconds % 10);
  out += u'.';
  out += static_cast<char16_t>(u'0' + hundredths / 10);
  out += static_cast<char16_t>(u'0' + hundredths % 10);
  out += u']';
  return out;
}

std::u16string write_standard_lrc(const LrcForm& form, std::span<const TimedLyric> lines) {
  std::vector<Placed> placed;
  placed.reserve(lines.size());
  int64_t key = -1;
  for (size_t k = 0; k < lines.size(); ++k) {
    if (lines[k].time_ms >= 0) key = lines[k].time_ms;
    placed.push_back({key, k, lines[k].time_ms, lines[k].rest});
  }
  sort_placed(placed);

  std::u16string out;
  for (const std::u16string& header : form.header_lines) {
    out += header;
    out += u"\r\n";
  }
  for (size_t k = 0; k < placed.size(); ++k) {
    if (placed[k].time_ms >= 0) {
      // The document keeps hundredths; a stamp rounded up by the offset's own last digit reads
      // back, less the offset, to the same hundredth.
      const int64_t stamp = placed[k].time_ms / 10 * 10 + int64_t{form.offset_ms};
      const int64_t up = stamp >= 0 ? (stamp + 9) / 10 * 10 : 0;
      out += format_lrc_stamp(up);
    }
    out += placed[k].rest;
    if (k + 1 < placed.size()) out += u"\r\n";
  }
  if (placed.empty() && !out.empty()) out.resize(out.size() - 2);
  return out;
}

}  // namespace sabla

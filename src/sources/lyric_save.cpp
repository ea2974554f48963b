#include "sources/lyric_save.h"

#include <algorithm>

#include "player/player_types.h"
#include "player/txt_cleanup.h"
#include "sources/text_buffer.h"

namespace sabla {
namespace {

constexpr std::u16string_view kTxt = u".txt";
constexpr std::u16string_view kLrc = u".lrc";

std::vector<uint8_t> utf16_file_bytes(std::u16string_view text) {
  std::vector<uint8_t> bytes = {0xFF, 0xFE};
  bytes.reserve(2 + text.size() * 2);
  for (const char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  return bytes;
}

std::vector<uint8_t> unicode_file_bytes(std::u16string_view text, const EncodedLyrics& encoded) {
  if (encoded.utf8 == TextFileEncoding::kCodePage) return utf16_file_bytes(text);
  return utf8_file_bytes(text, encoded.utf8 == TextFileEncoding::kUtf8WithMark);
}

std::vector<uint8_t> ansi_file_bytes(std::string_view text) {
  return std::vector<uint8_t>(text.begin(), text.end());
}

// The text as it fits a lyrics buffer: up to its first NUL, at most one buffer less its terminator.
std::u16string_view buffer_text(std::u16string_view text) {
  text = text.substr(0, text.find(u'\0'));
  return text.substr(0, kLyricsBufferUnits - 1);
}

bool ascii_iequal(std::u16string_view a, std::u16string_view b) {
  auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; };
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

// The clean text of the pair's ".txt", in both forms. True when either clean-up changed either
// form, i.e. when there is a pair to write.
bool clean_for_txt(const EncodedLyrics& encoded, std::u16string& plain, std::string& plain_ansi,
                   const LyricSaveContext& context) {
  const size_t limit = meta_line_scan_limit(context.settings);
  bool changed = strip_tags_for_txt(plain);
  changed = empty_meta_lines(plain, limit) || changed;
  if (encoded.ansi_fits) {
    changed = strip_tags_for_txt(plain_ansi, context.codec.lead_bytes()) || changed;
    changed = empty_meta_lines(plain_ansi, limit) || changed;
  }
  return changed;
}

}  // namespace

EncodedLyrics encode_lyric_text(std::u16string_view text, bool save_unicode,
                                const AnsiCodec& codec, TextFileEncoding kept) {
  EncodedLyrics encoded;
  std::optional<std::string> ansi = codec.encode(text);
  encoded.ansi_fits = ansi.has_value();
  if (ansi) encoded.ansi = std::move(*ansi);
  const bool round_trips = encoded.ansi_fits && codec.decode(encoded.ansi) == text;
  encoded.unicode = save_unicode || !round_trips;
  if (kept == TextFileEncoding::kUtf8 || kept == TextFileEncoding::kUtf8WithMark) {
    encoded.unicode = true;
    encoded.utf8 = kept;
  }
  encoded.bytes = encoded.unicode ? unicode_file_bytes(text, encoded) : ansi_file_bytes(encoded.ansi);
  return encoded;
}

size_t meta_line_scan_limit(const Settings& settings) {
  const int64_t limit = static_cast<int64_t>(settings.song_bf_size[0]) *
                        static_cast<int64_t>(settings.song_bf_size[1]);
  return limit > 0 ? static_cast<size_t>(limit) : 0;
}

bool write_lyric_file(std::u16string_view path, std::u16string_view text,
                      const LyricSaveContext& context) {
  if (path.empty()) return false;
  text = buffer_text(text);
  const EncodedLyrics encoded = encode_lyric_text(
      text, context.settings.save_unicode != 0, context.codec,
      context.file_encoding ? context.file_encoding(path) : TextFileEncoding::kCodePage);
  std::u16string plain(text);
  std::string plain_ansi = encoded.ansi;
  const bool pair_due = context.settings.auto_save[0] == 1 &&
                        clean_for_txt(encoded, plain, plain_ansi, context);
  // Only the file name's own extension counts: cutting at a '.' of a folder name would write
  // next to the folder instead.
  if (!pair_due || !has_extension(path)) {
    if (!context.files.write(path, encoded.bytes)) return false;
    if (text.empty()) context.files.remove(path);
    return !pair_due;
  }

  const std::u16string base(without_extension(path));
  const std::u16string txt_path = base + std::u16string(kTxt);
  const bool plain_empty = encoded.unicode ? plain.empty() : plain_ansi.empty();
  const std::vector<uint8_t> plain_bytes =
      encoded.unicode ? unicode_file_bytes(plain, encoded) : ansi_file_bytes(plain_ansi);
  // Windows compares names without regard to case, so "song.TXT" is the pair's ".txt" itself;
  // treating it as another file would overwrite the timed text with the plain one.
  if (!ascii_iequal(path.substr(base.size()), kTxt)) {
    if (!context.files.write(path, encoded.bytes)) return false;
    // The ".txt" goes from its old content straight to the plain text, so a failed write
    // leaves the old one rather than a timed copy that was about to be replaced.
    if (plain_empty) {
      context.files.remove(txt_path);
    } else {
      context.files.write(txt_path, plain_bytes);
    }
    return true;
  }
  // Saved as ".txt": the timed text reaches the ".lrc" before the ".txt" gives up its timetags.
  // When the ".lrc" cannot be written the ".txt" keeps them, so they are never lost.
  if (!context.files.write(base + std::u16string(kLrc), encoded.bytes)) {
    return context.files.write(path, encoded.bytes);
  }
  if (!context.files.write(path, plain_bytes)) return false;
  if (plain_empty) context.files.remove(path);
  return true;
}

void create_new_file_folders(const SongNames& song, const LyricSaveContext& context) {
  const int32_t choice = context.settings.new_file[0];
  if (choice != 2 && choice != 3) return;
  const std::u16string artist = artist_lyric_folder(song, context.settings, context.unknown);
  if (artist.empty()) return;
  context.files.create_folder(artist);
  if (choice == 3)
    context.files.create_folder(album_lyric_folder(song, context.settings, context.unknown));
}

bool save_editor_lyrics(const SongNames& edited_song, std::u16string_view text,
                        const LyricSaveContext& context) {
  if (edited_song.lyrics_path.empty()) return false;
  create_new_file_folders(edited_song, context);
  return write_lyric_file(edited_song.lyrics_path, text, context);
}

}  // namespace sabla

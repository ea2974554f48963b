#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/settings.h"
#include "sources/lyric_folder_paths.h"
#include "sources/lyric_save_codec.h"
#include "sources/lyric_save_files.h"
#include "sources/lyric_search_names.h"
#include "sources/text_file.h"

namespace sabla {

// What a lyric save reaches out to and the settings it follows.
struct LyricSaveContext {
  const Settings& settings;  // save_unicode, auto_save, song_bf_size, new_file, path
  const AnsiCodec& codec;
  LyricSaveFiles& files;
  UnknownNames unknown;
  // How the file a save replaces was read (kCodePage when there is none); a UTF-8 file stays
  // UTF-8. Without it every save picks its encoding from the text and the settings alone.
  std::function<TextFileEncoding(std::u16string_view path)> file_encoding = nullptr;
};

// `text` as a lyric file: UTF-8 (with the mark EF BB BF when `kept` had it) when the file it
// replaces is UTF-8; otherwise ANSI when every character survives the trip through the code page
// and `save_unicode` is off, else the mark FF FE and UTF-16 little-endian units. No terminator.
struct EncodedLyrics {
  std::vector<uint8_t> bytes;
  bool unicode = false;  // UTF-16 or UTF-8
  TextFileEncoding utf8 = TextFileEncoding::kCodePage;  // kUtf8 or kUtf8WithMark when UTF-8
  std::string ansi;  // the 8-bit form; empty when the text does not fit the 8-bit buffer
  bool ansi_fits = false;
};
EncodedLyrics encode_lyric_text(std::u16string_view text, bool save_unicode,
                                const AnsiCodec& codec,
                                TextFileEncoding kept = TextFileEncoding::kCodePage);

// How far `empty_meta_lines` looks for the end of a '@' line: the two `song_bf_size` numbers
// multiplied.
size_t meta_line_scan_limit(const Settings& settings);

// Writes `text` (up to its first NUL) to `path` in the encoding encode_lyric_text picks; an empty
// text deletes the file instead. With the first `auto_save` number set and timetags or '@' lines
// in the text, also writes the pair: the timed text stays at `path` (a ".txt" keeps its timed
// copy in the ".lrc" of the same name) and the ".txt" of that name gets the plain text, or is
// deleted when nothing remains. Each file goes from its old content straight to its final one;
// when a ".txt" is saved and its ".lrc" cannot be written, the ".txt" keeps the timed text.
// False when `path` cannot be written, or when the pair is due and the file name has no
// extension; failures writing the pair are otherwise ignored.
bool write_lyric_file(std::u16string_view path, std::u16string_view text,
                      const LyricSaveContext& context);

// Creates the folders that the `new_file` folder choices 2 and 3 put new lyric files in, one
// level at a time. Failures are ignored.
void create_new_file_folders(const SongNames& song, const LyricSaveContext& context);

// The options window's apply: writes the external-text editor's `text` to the edited song's
// `lyrics_path`, after creating the new-file folders for it. False when the song has no path or
// the file cannot be written.
bool save_editor_lyrics(const SongNames& edited_song, std::u16string_view text,
                        const LyricSaveContext& context);

}  // namespace sabla

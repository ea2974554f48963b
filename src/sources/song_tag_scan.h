#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "settings/code_page.h"
#include "sources/byte_source.h"

namespace sabla {

// Where a song file keeps its lyrics, told by its extension.
enum class SongFileKind {
  kUnsupported,
  kId3,  // ".mp3", ".aif": ID3v2 lyrics frames
  kMp4,  // ".m4a", ".m4p", ".m4b": the ©lyr atom
};

// The kind of the file at `path`, by the extension from its last '.' in any letter case.
SongFileKind song_file_kind(std::u16string_view path);

// The lyrics of an MP3 or AIFF file found by scanning its bytes for the ID3v2 lyrics frames,
// as stored (line ends untouched); nullopt when none were found. 8-bit texts are decoded with
// `ansi`, the system's code page.
std::optional<std::u16string> scan_id3_lyrics(ByteSource& file, const CodePage& ansi);

// The lyrics of an ID3v2.3 or 2.4 SYLT frame with millisecond timestamps (the first SYLT in the
// file), as lines each beginning with the native long tag of its time; text in any of the four
// ID3 encodings. Frames with MPEG-frame timestamps and files without an ID3 tag give nothing.
std::optional<std::u16string> scan_id3_synced_lyrics(ByteSource& file);

// The UTF-8 lyrics of an MP4 file, found by scanning its bytes for the ©lyr atom.
std::optional<std::u16string> scan_mp4_lyrics(ByteSource& file);

// The scan for `kind`, with the line ends of the found lyrics turned into CR LF.
std::optional<std::u16string> scan_song_file(ByteSource& file, SongFileKind kind,
                                             const CodePage& ansi);

}  // namespace sabla

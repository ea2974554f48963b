#pragma once
#include <cstdint>
#include <memory>
#include <optional>

#include "sources/lyric_recheck.h"

namespace sabla {

// What the lyric sources keep about the current song between song changes.
struct LyricSourceState {
  bool external_lyrics_found = false;
  // Set while the song-change pipeline waits for the user's answer, so that it does not run
  // inside itself from the message loop of its own question.
  bool pipeline_busy = false;
  // The song file's last-write time when its lyrics were loaded; the re-check compares it.
  std::optional<uint64_t> song_file_write_time;
  // The background look for a lyric file while the panel is empty; made at "init".
  std::unique_ptr<LyricRecheck> recheck;
};

}  // namespace sabla

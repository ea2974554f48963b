#pragma once
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "sources/txt_cleanup_8bit.h"

namespace sabla {

// An 8-bit lyric file holds at most this many bytes (a 65536-byte buffer with its terminator).
inline constexpr size_t kMaxAnsiLyricBytes = 65535;

// The system's ANSI code page in both directions, for writing lyric files. On Windows it is
// WideCharToMultiByte / MultiByteToWideChar with CP_ACP; natively iconv with CP932.
class AnsiCodec {
 public:
  virtual ~AnsiCodec() = default;
  // `text` in the code page, characters it lacks replaced as the platform does; nothing when the
  // result would be longer than kMaxAnsiLyricBytes.
  virtual std::optional<std::string> encode(std::u16string_view text) const = 0;
  virtual std::u16string decode(std::string_view bytes) const = 0;
  virtual const LeadBytes& lead_bytes() const = 0;
};

std::unique_ptr<AnsiCodec> make_ansi_codec();

}  // namespace sabla

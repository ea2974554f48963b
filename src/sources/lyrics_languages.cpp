#include "sources/lyrics_languages.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace sabla {
namespace {

// The accepted codes in the order they are checked; "XXX" and "PAN" are upper case on purpose.
constexpr std::array<std::string_view, 87> kLyricsLanguages = {
    "eng", "jpn", "isl", "aze", "asm", "afr", "ara", "sqi", "hye", "ita", "yid", "ind", "ukr",
    "uzb", "urd", "est", "dut", "ori", "kaz", "cat", "kan", "glg", "ell", "kir", "guj", "kat",
    "hrv", "gla", "xho", "kok", "san", "syr", "sve", "zul", "XXX", "esl", "slk", "slo", "swa",
    "srp", "wen", "tha", "tat", "tam", "ces", "tso", "tsn", "div", "tel", "dan", "deu", "tur",
    "nep", "nor", "eus", "hun", "PAN", "hin", "fin", "fao", "frc", "frs", "fre", "frb", "frm",
    "frl", "bul", "vie", "heb", "bel", "per", "ben", "pol", "por", "mke", "mar", "mal", "mlt",
    "msa", "mon", "lav", "lit", "ron", "rum", "rus", "kor", "zho"};

}  // namespace

bool is_lyrics_language(std::span<const uint8_t, 4> bytes) {
  if (bytes[3] != 0) return false;
  const std::string_view code(reinterpret_cast<const char*>(bytes.data()), 3);
  return std::find(kLyricsLanguages.begin(), kLyricsLanguages.end(), code) !=
         kLyricsLanguages.end();
}

}  // namespace sabla

#include <errno.h>
#include <iconv.h>

#include "settings/code_page.h"
#include "sources/lyric_save_codec.h"

namespace sabla {
namespace {

// Code page 932 through iconv, for the native tests. Characters the code page lacks become '?',
// the default character of WideCharToMultiByte.
class Cp932Codec final : public AnsiCodec {
 public:
  Cp932Codec()
      : cd_(iconv_open("CP932", "UTF-16LE")),
        decoder_(make_ansi_code_page()),
        lead_bytes_(shift_jis_lead_bytes()) {}
  ~Cp932Codec() override {
    if (cd_ != kNoConverter) iconv_close(cd_);
  }
  Cp932Codec(const Cp932Codec&) = delete;
  Cp932Codec& operator=(const Cp932Codec&) = delete;

  std::optional<std::string> encode(std::u16string_view text) const override {
    std::string out;
    if (cd_ == kNoConverter) return std::nullopt;
    std::string units;
    units.reserve(text.size() * 2);
    for (const char16_t c : text) {
      units += static_cast<char>(c & 0xFF);
      units += static_cast<char>(c >> 8);
    }
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = units.data();
    size_t in_left = units.size();
    char buffer[512];
    while (in_left > 0) {
      char* dst = buffer;
      size_t dst_left = sizeof(buffer);
      const size_t result = iconv(cd_, &in, &in_left, &dst, &dst_left);
      out.append(buffer, static_cast<size_t>(dst - buffer));
      if (out.size() > kMaxAnsiLyricBytes) return std::nullopt;
      if (result != static_cast<size_t>(-1) || errno == E2BIG) continue;
      // A unit iconv cannot convert (or a cut-off surrogate pair): one default character.
      out += '?';
      const size_t taken = std::min<size_t>(in_left, 2);
      in += taken;
      in_left -= taken;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    if (out.size() > kMaxAnsiLyricBytes) return std::nullopt;
    return out;
  }

  std::u16string decode(std::string_view bytes) const override { return decoder_->decode(bytes); }
  const LeadBytes& lead_bytes() const override { return lead_bytes_; }

 private:
  static inline const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);
  iconv_t cd_;
  std::unique_ptr<CodePage> decoder_;
  LeadBytes lead_bytes_;
};

}  // namespace

std::unique_ptr<AnsiCodec> make_ansi_codec() { return std::make_unique<Cp932Codec>(); }

}  // namespace sabla

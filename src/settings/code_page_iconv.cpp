#include <errno.h>
#include <iconv.h>

#include "settings/code_page.h"

namespace sabla {
namespace {

// What MultiByteToWideChar gives for code page 932 where iconv sees no character: a lead byte
// takes the byte after it and both become the katakana middle dot; a few single bytes have
// private-use or C1 mappings.
constexpr char16_t kInvalidCharacter = u'\u30FB';

bool is_lead_byte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

char16_t single_byte(unsigned char b) {
  if (b == 0x80) return u'\u0080';
  if (b == 0xA0) return u'\uF8F0';
  if (b >= 0xFD) return static_cast<char16_t>(0xF8F1 + (b - 0xFD));
  return kInvalidCharacter;
}

class Cp932CodePage final : public CodePage {
 public:
  Cp932CodePage() : cd_(iconv_open("UTF-16LE", "CP932")) {}
  ~Cp932CodePage() override {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Cp932CodePage(const Cp932CodePage&) = delete;
  Cp932CodePage& operator=(const Cp932CodePage&) = delete;

  std::u16string decode(std::string_view bytes) const override {
    std::u16string out;
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      for (const char c : bytes) out += static_cast<char16_t>(static_cast<unsigned char>(c));
      return out;
    }
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes.data());
    size_t in_left = bytes.size();
    char buffer[512];
    while (in_left > 0) {
      char* dst = buffer;
      size_t dst_left = sizeof(buffer);
      const size_t result = iconv(cd_, &in, &in_left, &dst, &dst_left);
      append(out, buffer, static_cast<size_t>(dst - buffer));
      if (result != static_cast<size_t>(-1)) continue;
      if (errno == E2BIG) continue;
      // EILSEQ, or EINVAL for a lead byte at the very end.
      const auto b = static_cast<unsigned char>(*in);
      const size_t taken = is_lead_byte(b) && in_left >= 2 ? 2 : 1;
      out += taken == 2 ? kInvalidCharacter : single_byte(b);
      in += taken;
      in_left -= taken;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  static void append(std::u16string& out, const char* utf16, size_t bytes) {
    for (size_t i = 0; i + 1 < bytes; i += 2) {
      out += static_cast<char16_t>(static_cast<unsigned char>(utf16[i]) |
                                   (static_cast<unsigned char>(utf16[i + 1]) << 8));
    }
  }

  iconv_t cd_;
};

}  // namespace

std::unique_ptr<CodePage> make_ansi_code_page() { return std::make_unique<Cp932CodePage>(); }

}  // namespace sabla

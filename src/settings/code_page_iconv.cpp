#include <errno.h>
#include <iconv.h>

#include "settings/code_page.h"

namespace sabla {
namespace {

// Windows decodes a byte that starts no valid character as the katakana middle dot, as
// MultiByteToWideChar does for code page 932, and carries on with the next byte.
constexpr char16_t kInvalidCharacter = u'\u30FB';

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
      // EILSEQ or EINVAL (a lead byte at the very end): one byte becomes one marker.
      out += kInvalidCharacter;
      ++in;
      --in_left;
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

#include <windows.h>

#include <climits>

#include "settings/code_page.h"
#include "sources/lyric_save_codec.h"

namespace sabla {
namespace {

class AnsiCodecWin32 final : public AnsiCodec {
 public:
  AnsiCodecWin32() : decoder_(make_ansi_code_page()) {
    for (int b = 0; b < 256; ++b) lead_bytes_.lead[b] = IsDBCSLeadByte(static_cast<BYTE>(b));
  }

  std::optional<std::string> encode(std::u16string_view text) const override {
    if (text.empty()) return std::string();
    if (text.size() > static_cast<size_t>(INT_MAX)) return std::nullopt;
    const auto* units = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, units, length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0 || static_cast<size_t>(needed) > kMaxAnsiLyricBytes) return std::nullopt;
    std::string out(static_cast<size_t>(needed), '\0');
    const int written =
        WideCharToMultiByte(CP_ACP, 0, units, length, out.data(), needed, nullptr, nullptr);
    if (written <= 0) return std::nullopt;
    out.resize(static_cast<size_t>(written));
    return out;
  }

  std::u16string decode(std::string_view bytes) const override { return decoder_->decode(bytes); }
  const LeadBytes& lead_bytes() const override { return lead_bytes_; }

 private:
  std::unique_ptr<CodePage> decoder_;
  LeadBytes lead_bytes_;
};

}  // namespace

std::unique_ptr<AnsiCodec> make_ansi_codec() { return std::make_unique<AnsiCodecWin32>(); }

}  // namespace sabla

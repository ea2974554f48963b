#pragma once
#include <memory>
#include <string>
#include <string_view>

namespace sabla {

// Decoding of 8-bit text in the system's ANSI code page (Shift_JIS on the Japanese systems the
// plug-in is written for). On Windows this is MultiByteToWideChar(CP_ACP); natively it is
// iconv with CP932, so the portable code can be tested off Windows.
class CodePage {
 public:
  virtual ~CodePage() = default;
  virtual std::u16string decode(std::string_view bytes) const = 0;
};

// The ANSI code page of this platform.
std::unique_ptr<CodePage> make_ansi_code_page();

}  // namespace sabla

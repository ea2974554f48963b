#include <windows.h>

#include <climits>

#include "settings/code_page.h"

namespace sabla {
namespace {

class AnsiCodePage final : public CodePage {
 public:
  std::u16string decode(std::string_view bytes) const override {
    if (bytes.empty() || bytes.size() > static_cast<size_t>(INT_MAX)) return {};
    const int size = static_cast<int>(bytes.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (needed <= 0) return {};
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    const int written = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), needed);
    if (written <= 0) return {};
    return std::u16string(wide.begin(), wide.begin() + written);
  }
};

}  // namespace

std::unique_ptr<CodePage> make_ansi_code_page() { return std::make_unique<AnsiCodePage>(); }

}  // namespace sabla

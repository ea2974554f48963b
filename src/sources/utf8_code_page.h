#pragma once
#include <string>
#include <string_view>

#include "settings/code_page.h"

namespace sabla {

// Code page 65001, decoded as MultiByteToWideChar does without flags: characters beyond the
// basic plane become surrogate pairs, and every maximal ill-formed part of a sequence (a stray
// continuation byte, a cut-off sequence, an overlong form or an encoded surrogate) becomes one
// U+FFFD. It needs nothing from the platform, so both builds share it.
class Utf8CodePage final : public CodePage {
 public:
  std::u16string decode(std::string_view bytes) const override;
};

}  // namespace sabla

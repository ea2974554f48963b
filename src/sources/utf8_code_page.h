#pragma once
#include <string>
#include <string_view>

#include "settings/code_page.h"

namespace sabla {

// Code page 65001, decoded as MultiByteToWideChar does without flags (as Wine reproduces it):
// characters beyond the basic plane become surrogate pairs, and each ill-formed sequence
// becomes one U+FFFD. A sequence is taken as far as its continuation bytes go, its first one
// included even when that one makes it an overlong form, a surrogate or a code point past
// U+10FFFF; a sequence the input ends too early for swallows the rest of the input. It needs
// nothing from the platform, so both builds share it.
class Utf8CodePage final : public CodePage {
 public:
  std::u16string decode(std::string_view bytes) const override;
};

}  // namespace sabla

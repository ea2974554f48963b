// Search slot templates and the values that fill them: classifying, filling, encoding and
// making the address or the program's command line must not crash, and every refusal or result
// must keep its promises (nothing over its buffer, a placeholder in a value never filled, the
// working folder a prefix of the program path). Input: three length bytes for the values, then
// the template and the values as UTF-16LE.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "web/search_encoding.h"
#include "web/search_template.h"

namespace {

using namespace sabla;

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "broken: %s\n", what);
    std::abort();
  }
}

// The low bytes of the units: 8-bit text as the system code page would hold it.
std::string low_bytes(std::u16string_view text) {
  std::string out;
  for (const char16_t c : text) out += static_cast<char>(c & 0xFF);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  std::u16string units;
  for (size_t i = 3; i + 1 < size; i += 2) units += static_cast<char16_t>(data[i] | data[i + 1] << 8);
  std::u16string_view all(units);
  auto take = [&all](size_t n) {
    const std::u16string_view part = all.substr(0, std::min(n, all.size()));
    all.remove_prefix(part.size());
    return part;
  };
  const SearchValues<std::u16string_view> values{take(data[0] % 64), take(data[1] % 64),
                                                 take(data[2] % 64)};
  const std::u16string_view search_template = all;

  const SearchTemplateKind kind = classify_search_template(search_template);
  if (kind == SearchTemplateKind::kProgram) {
    const ProgramCommand command = make_program_command(search_template, values);
    if (command.status == ProgramCommandStatus::kReady) {
      check(command.command_line.size() < kSearchCommandBuffer, "command over its buffer");
    }
  }
  if (const std::optional<std::u16string> folder = program_working_folder(search_template)) {
    check(folder->size() <= search_template.size(), "working folder longer than the command");
  }

  // The web path, in 8 bits: each value encoded as the address would take it.
  const LeadBytes lead_bytes = shift_jis_lead_bytes();
  const std::string artist = low_bytes(values.artist);
  const std::string title = low_bytes(values.title);
  const std::string album = low_bytes(values.album);
  std::string euc = artist;
  shift_jis_to_euc_jp(euc);
  check(euc.size() == artist.size(), "EUC-JP changes the length");
  const std::string encoded_artist = percent_encode_search_value(artist);
  const std::string encoded_title = percent_encode_search_value(title);
  const std::string encoded_album = percent_encode_search_value(album);
  for (const std::string* e : {&encoded_artist, &encoded_title, &encoded_album}) {
    check(e->size() < kEncodedValueField, "encoded value over its field");
    check(e->find_first_of("[] \"") == std::string::npos, "encoded value keeps a special byte");
  }
  const std::string template_bytes = low_bytes(search_template);
  if (const std::optional<std::string> address = make_search_address(
          template_bytes, {encoded_artist, encoded_title, encoded_album}, lead_bytes)) {
    check(address->size() < kSearchAddressBuffer, "address over its buffer");
  }
  const std::string filled =
      fill_search_placeholders(template_bytes, {artist, title, album}, lead_bytes);
  check(filled.size() <= template_bytes.size() + 64 * 3 * (template_bytes.size() / 6 + 1),
        "filling grew past every placeholder's value");
  return 0;
}

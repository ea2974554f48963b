// Settings file bytes in: a load must not crash or hang, and a save after a load must be
// stable (loading what was saved and saving again gives the same bytes).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include "settings/code_page.h"
#include "settings/legacy_import.h"
#include "settings/settings_format.h"

namespace {

using namespace sabla;

const SettingsDefaults& defaults() {
  static const SettingsDefaults d{u"C:\\Users\\fuzz\\Documents", u"Tahoma"};
  return d;
}

// What the loader does with the file's bytes, without the file system.
Settings load(std::span<const uint8_t> file) {
  static const auto code_page = make_ansi_code_page();
  Settings s;
  reset_settings(s, defaults());
  if (has_unicode_mark(file)) {
    read_settings_file(s, file);
  } else {
    import_legacy_settings(s, file, *code_page);
    read_settings_file(s, format_settings_file(s));
  }
  finish_settings_read(s);
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);

  // The module-folder fallback is read without looking at the mark. With the mark that is
  // exactly what load() does, so only a file without one needs the second reading.
  if (!has_unicode_mark(input)) {
    Settings fallback;
    reset_settings(fallback, defaults());
    read_settings_file(fallback, input);
    finish_settings_read(fallback);
  }

  Settings first = load(input);
  for (const auto& item : first.items) item->place(size > 0 ? data[0] * 7 : 640, 480);
  const std::vector<uint8_t> saved = format_settings_file(first);
  const std::vector<uint8_t> saved_again = format_settings_file(load(saved));
  if (saved != saved_again) {
    std::fprintf(stderr, "save after load is not stable\n");
    std::abort();
  }
  return 0;
}

// Settings file bytes in: a load must not crash or hang, and a save after a load must be
// stable (loading what was saved and saving again gives the same bytes).
//
// Every input is read the way the loader meets it. Converting an unmarked file (the loader
// writes the imported values out and reads them back) and the save-load-save check each read
// and write a whole settings file of some 5 KB, several times what reading a typical input
// costs, so only inputs whose length is a multiple of kWholeSessionEvery run them. Adding or
// dropping a byte moves an input between the two kinds, so every path stays in reach, and the
// reading of outside bytes runs that many times as often for the same time.
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

constexpr size_t kWholeSessionEvery = 5;

const SettingsDefaults& defaults() {
  static const SettingsDefaults d{u"C:\\Users\\fuzz\\Documents", u"Tahoma"};
  return d;
}

// What the loader does with the file's bytes, without the file system; `convert` includes
// the write and read back of an unmarked file.
Settings load(std::span<const uint8_t> file, bool convert) {
  static const auto code_page = make_ansi_code_page();
  Settings s;
  reset_settings(s, defaults());
  if (has_unicode_mark(file)) {
    read_settings_file(s, file);
  } else {
    import_legacy_settings(s, file, *code_page);
    if (convert) read_settings_file(s, format_settings_file(s));
  }
  finish_settings_read(s);
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> input(data, size);
  const bool whole_session = size % kWholeSessionEvery == 0;

  // The module-folder fallback is read without looking at the mark. With the mark that is
  // exactly what load() does, so only a file without one needs the second reading.
  if (!has_unicode_mark(input)) {
    Settings fallback;
    reset_settings(fallback, defaults());
    read_settings_file(fallback, input);
    finish_settings_read(fallback);
  }

  Settings first = load(input, whole_session);
  for (const auto& item : first.items) item->place(size > 0 ? data[0] * 7 : 640, 480);
  if (!whole_session) return 0;

  const std::vector<uint8_t> saved = format_settings_file(first);
  const std::vector<uint8_t> saved_again = format_settings_file(load(saved, true));
  if (saved != saved_again) {
    std::fprintf(stderr, "save after load is not stable\n");
    std::abort();
  }
  return 0;
}

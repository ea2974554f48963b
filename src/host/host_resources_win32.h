#pragma once
#include <windows.h>

#include <string>

#include "host/own_version.h"
#include "state/string_table.h"

namespace sabla {

// Loads the texts of ids 1 to StringTable::kLastId from `module`'s string table, each cut to
// StringTable::kMaxLength characters; ids without a text stay empty.
void load_string_table(StringTable& table, HMODULE module);

// The own version from `module`'s version resource (id 1); 0.0.0.0 when it has none.
OwnVersion read_own_version(HMODULE module);

// The user's temporary folder followed by "Sabla_temp.jpg".
std::u16string temp_artwork_path();

// The module that holds this code: Sabla.dll in the plug-in, the test program in tests.
HMODULE this_module();

// The 1-millisecond resolution of the multimedia timer, for as long as the object lives.
class TimerPeriod {
 public:
  TimerPeriod();
  ~TimerPeriod();
  TimerPeriod(const TimerPeriod&) = delete;
  TimerPeriod& operator=(const TimerPeriod&) = delete;

 private:
  bool raised_ = false;
};

}  // namespace sabla

#pragma once
#include <cstdint>
#include <string>

#include "state/host_messages.h"

namespace sabla {

// Who the plug-in talks to and who it is: the host's cookie and callback from the handler's
// "init" (for open_url_in_host), the host's version, and the plug-in's own identity.
struct HostLink {
  void* host_cookie = nullptr;
  HostCallback host_callback = nullptr;
  int32_t host_major_version = 0;  // features come with versions 5 and 7

  void* module_handle = nullptr;       // the library's own module
  std::u16string own_version_text;     // "1.2.3.4"
  int32_t own_version_number = 0;      // 1234: what the version check compares
  std::u16string own_version_caption;  // "Sabla ver.1.2.3.4 BETA"
  std::u16string temp_artwork_path;    // where the player saves the song's artwork
};

}  // namespace sabla

// The library's only export. Everything it does is in plugin_entry.cpp so tests can drive it.
#include <windows.h>

#include "host/plugin_entry.h"
#include "host/plugin_globals.h"
#include "host/visual_handler.h"
#include "settings/settings_store.h"

namespace {

int32_t entry(uint32_t message, void* record) {
  static const sabla::EntryHooks hooks{
      [](sabla::PluginState& state) { sabla::load_settings(state); },
      &sabla::visual_message_handler};
  return sabla::handle_entry_message(sabla::global_plugin_state(), message, record, hooks);
}

}  // namespace

// The host calls this with the platform's C calling convention.
extern "C" __declspec(dllexport) int32_t __cdecl iTunesPluginMain(uint32_t message, void* record) {
  return sabla::guard_host_call([&] { return entry(message, record); });
}

#pragma once
#include <windows.h>

#include <string>

#include "state/plugin_state.h"

namespace sabla {

// Where the settings live.
struct SettingsLocation {
  std::wstring file;              // <application data>\Sabla\Sabla.ini: read, and every save
  std::wstring fallback_file;     // Sabla.ini beside the plug-in, read when `file` cannot be
  std::wstring documents_folder;  // default lyric folder, artwork and file-dialog folder
};

// The location on this system: the application-data folder, the folder of Sabla.dll (or of
// this module) and the Documents folder.
SettingsLocation system_settings_location();

// Rebuilds the display items, sets every default and reads the settings file over them. A file
// in the older 8-bit format is converted, and a missing or older file is written at once. Fonts
// of the text items are made for `dc` (the window's device context, when there is one).
void load_settings(PluginState& state, HDC dc = nullptr);
void load_settings(PluginState& state, const SettingsLocation& location, HDC dc = nullptr);

// The reload after the options window is closed or applied: loads the file again (dropping
// changes that were not saved) except for the open tab, the timetag form and both timetag
// insert settings, which keep their current values; then writes the file.
void reload_settings(PluginState& state, HDC dc = nullptr);
void reload_settings(PluginState& state, const SettingsLocation& location, HDC dc = nullptr);

// Writes the whole settings file to the path kept by the last load (the system location when
// nothing was loaded), creating its folder. On failure the previous file stays as it was.
bool save_settings(PluginState& state);

}  // namespace sabla

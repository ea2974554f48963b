#include "fake_visual_handler.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "fake_log.h"
#include "fake_player_client.h"

namespace fake {

namespace {

constexpr size_t kPointer = sizeof(void*);

constexpr uint32_t code(const char (&c)[5]) {
  return static_cast<uint32_t>(static_cast<uint8_t>(c[0])) << 24 |
         static_cast<uint32_t>(static_cast<uint8_t>(c[1])) << 16 |
         static_cast<uint32_t>(static_cast<uint8_t>(c[2])) << 8 |
         static_cast<uint32_t>(static_cast<uint8_t>(c[3]));
}

struct Idle {
  uint64_t count = 0;
  uint64_t last_ms = 0;
  uint64_t min_gap_ms = UINT64_MAX;
  uint64_t renders = 0;
  uint64_t bad_renders = 0;
  bool busy = false;
  bool key_down = false;
  int32_t second = -1;
};

struct Instance {
  uint32_t messages = 0;
};

Instance instance_record;
uint8_t host_version = 0;
Idle idle;

template <typename T>
T at(const void* record, size_t offset) {
  T value;
  std::memcpy(&value, static_cast<const uint8_t*>(record) + offset, sizeof value);
  return value;
}

std::string text_at(const uint8_t* record, size_t offset) {
  std::u16string text;
  for (size_t i = 0; i < 255; ++i) {
    const auto unit = at<char16_t>(record, offset + 2 * i);
    if (unit == 0) break;
    text += unit;
  }
  return utf8(text);
}

std::string rect_text(const void* record) {
  return std::to_string(at<int16_t>(record, kPointer)) + " " +
         std::to_string(at<int16_t>(record, kPointer + 2)) + " " +
         std::to_string(at<int16_t>(record, kPointer + 4)) + " " +
         std::to_string(at<int16_t>(record, kPointer + 6));
}

std::string error_text(uint32_t error) { return "error " + hex(error); }

void report_idle() {
  if (idle.count == 0 && idle.renders == 0) return;
  say("idle x" + std::to_string(idle.count) + ", gaps >= " +
      (idle.count > 1 ? std::to_string(idle.min_gap_ms) : std::string("-")) + " ms, render x" +
      std::to_string(idle.renders) + ", bad renders " + std::to_string(idle.bad_renders));
  idle.count = idle.renders = idle.bad_renders = 0;
  idle.min_gap_ms = UINT64_MAX;
}

void ask_about_track() {
  PlayerClient player;
  if (!player.connected()) {
    say("automation " + player.state());
    return;
  }
  uint32_t error = 0;
  const auto location = player.location(error);
  say(location ? "location " + utf8(*location) : "location " + error_text(error));
  const auto ids = player.ids(error);
  say(ids ? "ids " + std::to_string(ids->source) + " " + std::to_string(ids->playlist) + " " +
                std::to_string(ids->track) + " " + std::to_string(ids->database)
          : "ids " + error_text(error));
  const auto lyrics = player.lyrics(error);
  say(lyrics ? "lyrics " + std::to_string(lyrics->size()) + " characters"
             : "lyrics " + error_text(error));
  wchar_t folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  std::u16string path = reinterpret_cast<const char16_t*>(folder);
  path += u"standin_fake_artwork.png";
  const auto size = player.save_artwork(path, error);
  say(size ? "artwork " + std::to_string(*size) + " bytes" : "artwork " + error_text(error));
  DeleteFileW(reinterpret_cast<const wchar_t*>(path.c_str()));
}

void on_track(const char* name, const uint8_t* track, const uint8_t* stream) {
  report_idle();
  if (!track) {
    say(std::string(name) + " without a track record");
    return;
  }
  say(std::string(name) + " \"" + text_at(track, 10) + "\" by \"" + text_at(track, 1034) +
      "\" file \"" + text_at(track, 522) + "\" start " + std::to_string(at<uint32_t>(track, 4120)) +
      " stop " + std::to_string(at<uint32_t>(track, 4124)) + " length " +
      std::to_string(at<uint32_t>(track, 4116)) + " identity " +
      std::to_string(at<uint32_t>(track, 4680)) + "/" + std::to_string(at<uint32_t>(track, 4684)) +
      " stream " + (stream ? std::to_string(at<uint32_t>(stream, 0)) : std::string("none")));
  ask_about_track();
}

void on_idle() {
  const uint64_t now = now_ms();
  if (idle.count > 0) idle.min_gap_ms = std::min(idle.min_gap_ms, now - idle.last_ms);
  idle.last_ms = now;
  ++idle.count;

  const bool busy = FindWindowW(L"iTunesCustomModalDialog", nullptr) != nullptr;
  if (busy != idle.busy) {
    idle.busy = busy;
    report_idle();
    say(busy ? "busy window opened" : "busy window closed");
    if (busy) {
      // A careful plug-in asks nothing now; this one asks once to see the player refuse.
      PlayerClient player;
      uint32_t error = 0;
      const auto position = player.position(error);
      say(position ? "position while busy " + std::to_string(*position)
                   : "position while busy " + error_text(error));
    }
  }
  const bool key_down = (GetAsyncKeyState(VK_F5) & 0x8000) != 0;
  if (key_down != idle.key_down) {
    idle.key_down = key_down;
    report_idle();
    say(key_down ? "key F5 down" : "key F5 up");
  }
  if (busy) return;
  PlayerClient player;
  uint32_t error = 0;
  const auto second = player.position(error);
  if (second && *second != idle.second) {
    idle.second = *second;
    report_idle();
    say("player second " + std::to_string(*second));
  }
}

void on_configure() {
  report_idle();
  say("cnfg");
  PlayerClient player;
  uint32_t error = 0;
  const auto ids = player.ids(error);
  if (!ids) {
    say("ids " + error_text(error));
    return;
  }
  const std::u16string text = u"[00:01:00]written by the fake plug-in";
  if (!player.write_lyrics(*ids, text, error)) {
    say("lyrics not written: " + error_text(error));
  } else {
    const auto back = player.lyrics(error);
    say(back && *back == text ? "lyrics written and read back" : "lyrics read back differ");
  }
  // The player moves on while this message is still being handled.
  say(player.call(L"NextTrack", error) ? "asked for the next track"
                                       : "next track " + error_text(error));
}

}  // namespace

int32_t visual_handler(uint32_t message, void* record, void* instance) {
  if (message != code("init") && instance != &instance_record) say("wrong instance");
  ++instance_record.messages;
  switch (message) {
    case code("init"): {
      host_version = at<uint8_t>(record, 11);
      auto* where = static_cast<uint8_t*>(record) + 12 + 2 * kPointer + 4;
      void* mine = &instance_record;
      std::memcpy(where, &mine, kPointer);
      say("init host " + std::to_string(host_version));
      return 0;
    }
    case code("show"):
    case code("swin"): {
      report_idle();
      const auto window = at<HWND>(record, 0);
      say(std::string(message == code("show") ? "show" : "swin") + " window " +
          (IsWindow(window) ? "ok" : "missing") + " rect " + rect_text(record));
      if (message == code("show")) {
        PlayerClient player;
        uint32_t error = 0;
        const auto position = player.position(error);
        say(position ? "automation position " + std::to_string(*position)
                     : "automation " + (player.connected() ? error_text(error) : player.state()));
      }
      return 0;
    }
    case code("null"):
      on_idle();
      return 0;
    case code("vrnd"): {
      ++idle.renders;
      const auto* data = at<const uint8_t*>(record, 0);
      if (!data || data[0] != 2 || data[1025] != 2) ++idle.bad_renders;
      return 0;
    }
    case code("vply"):
      // Two 32-bit presence words, nine words the plug-in does not read, then the pointers.
      on_track("vply", at<uint32_t>(record, 0) ? at<const uint8_t*>(record, 44) : nullptr,
               at<uint32_t>(record, 4) ? at<const uint8_t*>(record, 44 + kPointer) : nullptr);
      return 0;
    case code("ctrk"):
      on_track("ctrk", at<uint32_t>(record, 0) ? at<const uint8_t*>(record, 8) : nullptr,
               at<uint32_t>(record, 4) ? at<const uint8_t*>(record, 8 + kPointer) : nullptr);
      return 0;
    case code("setp"): {
      report_idle();
      PlayerClient player;
      uint32_t error = 0;
      const auto position = player.position(error);
      say("setp " + std::to_string(at<uint32_t>(record, 0)) + ", player at " +
          (position ? std::to_string(*position) + " s" : error_text(error)));
      return 0;
    }
    case code("vpau"):
    case code("vunp"):
    case code("vstp"):
    case code("hide"):
    case code("vupd"): {
      report_idle();
      const char name[5] = {static_cast<char>(message >> 24), static_cast<char>(message >> 16),
                            static_cast<char>(message >> 8), static_cast<char>(message), 0};
      say(name);
      return 0;
    }
    case code("cnfg"):
      on_configure();
      return 0;
    case code("clr "):
      report_idle();
      say("clr after " + std::to_string(instance_record.messages) + " messages");
      return 0;
    default:
      return -4;
  }
}

}  // namespace fake

// What one idle message ("null") costs the host, through the visual message handler with the
// visualizer shown: the lyric clock with its question to the player, and the idle work after it
// (the window's place and the mouse, the requests, and a frame when 33 ms have passed; the
// calls follow each other closely, so most of them draw no frame; bench/frame_bench_win32.cpp
// times the frames).
// Three players: a scripted one (the handler's own cost), the player bridge with no automation
// server at all, and the bridge over COM to an automation server in this process (what every
// idle call pays with a player). Builds for Windows and runs under Wine:
//   cmake --build --preset win32 --target handler_idle_bench
//   scripts/wine-run.sh build/win32/src/host/handler_idle_bench.exe
// The plug-in's code linked in, next to the figure through the loaded library
// (bench/host_frame_bench_win32.cpp).
#include <windows.h>

#include <cstdio>
#include <string>

#include "bench_harness.h"
#include "core/host/scripted_player.h"
#include "host/handler_services_win32.h"
#include "host/message_handler.h"
#include "player/com_player_bridge_win32.h"
#include "player/itunes_ids_win32.h"
#include "win32/player/fake_itunes.h"

namespace {

using namespace sabla;

constexpr int kCalls = 2000;

HWND make_window() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SablaIdleBench";
  RegisterClassW(&wc);
  return CreateWindowW(L"SablaIdleBench", L"visualizer", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                       nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

// Sends kCalls idle messages to a shown visualizer and prints how long they took.
void measure(const char* name, PlayerBridge& player, HWND window) {
  PluginState state;
  Win32HandlerServices services(player, this_module());
  auto send = [&](uint32_t message, void* record = nullptr) {
    return handle_visual_message(state, services, message, record, state.instance.get());
  };
  VisualInitMessage init{};
  send(kMessageInit, &init);
  ShowMessage show{};
  show.window = window;
  show.rect = {0, 0, 300, 400};
  if (send(kMessageShow, &show) != kStatusOk) {
    std::printf("%-36s the window could not be shown\n", name);
    return;
  }
  state.instance->playing = true;

  const bench::Samples samples = bench::time_runs(kCalls, 0, [&] { send(kMessageIdle); });
  bench::report_plain(std::string("idle call, handler linked in, ") + name, samples);
  send(kMessageHide);
  send(kMessageClear);
}

}  // namespace

int main() {
  const HWND window = make_window();

  test::ScriptedPlayer scripted;
  scripted.position_second = 42;
  measure("scripted player", scripted, window);

  CoInitialize(nullptr);
  // Without a server first: under Wine 8, asking for the player's class after this process had
  // served it and revoked it crashed inside the automation calls.
  {
    ComPlayerBridge unreachable;
    measure("player bridge, no automation server", unreachable, window);
  }
  {
    test::FakeItunes fake;
    fake.position = 42;
    fake.tracks = {{L"C:\\Music\\a.mp3", L"", std::nullopt, {1, 2, 3, 4}, true}};
    fake.current = 0;
    test::ClassRegistration registration(CLSID_iTunesApp, fake.factory());
    if (SUCCEEDED(registration.result())) {
      ComPlayerBridge bridge;
      measure("player bridge, automation server", bridge, window);
    } else {
      std::printf("the automation server could not be registered\n");
    }
  }
  CoUninitialize();

  DestroyWindow(window);
  return 0;
}

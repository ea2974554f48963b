// Showing and hiding the visualizer many times leaves no GDI object behind.
#include <gtest/gtest.h>
#include <windows.h>

#include "state/window_drawing_win32.h"
#include "sabla_dll.h"
#include "test_handler_services.h"
#include "test_window.h"

namespace sabla {
namespace {

// Wine's GetGuiResources always answers 0, but it takes a handle whose high word is 0 as the
// live object at that index, so counting the indices that name an object counts live objects.
int live_gdi_objects() {
  int count = 0;
  for (uintptr_t index = 1; index <= 0xFFFF; ++index) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++count;
  }
  return count;
}

DWORD gui_resources() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

TEST(ShowHideLeak, CyclesLeaveNoGdiObjectBehind) {
  test::SablaDll dll;
  ASSERT_TRUE(dll.get());
  PluginState state;
  test::TestHandlerServices services(dll.get());
  test::TestWindow window;
  auto send = [&](uint32_t message, void* record = nullptr) {
    return handle_visual_message(state, services, message, record, state.instance.get());
  };
  VisualInitMessage init{};
  ASSERT_EQ(send(kMessageInit, &init), kStatusOk);
  ShowMessage show{};
  show.window = window.visualizer();
  show.rect = {0, 0, 300, 400};
  auto cycle = [&] {
    ASSERT_EQ(send(kMessageShow, &show), kStatusOk);
    ASSERT_TRUE(window_dc(state));
    ASSERT_EQ(send(kMessageIdle), kStatusOk);
    ASSERT_EQ(send(kMessageHide), kStatusOk);
  };

  // The first cycle may leave what the system keeps once per process (GDI+, DirectInput) and
  // the item fonts, which live from one settings load to the next.
  cycle();
  const int objects = live_gdi_objects();
  const DWORD resources = gui_resources();
  ASSERT_GT(objects, 0);
  for (int i = 0; i < 6; ++i) cycle();
  EXPECT_EQ(live_gdi_objects(), objects);
  EXPECT_EQ(gui_resources(), resources);

  // "clr " takes the item fonts with the display items.
  ASSERT_EQ(send(kMessageClear), kStatusOk);
  EXPECT_LT(live_gdi_objects(), objects);
}

}  // namespace
}  // namespace sabla

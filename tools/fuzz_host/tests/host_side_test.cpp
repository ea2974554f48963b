#include <windows.h>

#include <gtest/gtest.h>

#include "campaign.h"
#include "guarded_memory.h"
#include "host_runner.h"

namespace fuzz_host {
namespace {

DWORD protection_of(const void* address) {
  MEMORY_BASIC_INFORMATION info{};
  VirtualQuery(address, &info, sizeof info);
  return info.Protect;
}

bool* g_fault_seen = nullptr;

// Unprotects the page so the read can be retried and the test goes on.
LONG WINAPI note_fault(EXCEPTION_POINTERS* info) {
  if (info->ExceptionRecord->ExceptionCode != EXCEPTION_ACCESS_VIOLATION) {
    return EXCEPTION_CONTINUE_SEARCH;
  }
  *g_fault_seen = true;
  DWORD old = 0;
  VirtualProtect(reinterpret_cast<void*>(info->ExceptionRecord->ExceptionInformation[1]), 1,
                 PAGE_READONLY, &old);
  return EXCEPTION_CONTINUE_EXECUTION;
}

void CALLBACK answer_boxes(HWND, UINT, UINT_PTR, DWORD) { dismiss_message_boxes(); }

TEST(GuardedBlock, TheRecordEndsWhereReadableMemoryEnds) {
  for (size_t size : {0u, 4u, 16u, 52u, 5728u}) {
    GuardedBlock block(size);
    ASSERT_TRUE(block);
    EXPECT_EQ(protection_of(block.data() + size), static_cast<DWORD>(PAGE_NOACCESS)) << size;
    if (size > 0) {
      EXPECT_EQ(protection_of(block.data()), static_cast<DWORD>(PAGE_READWRITE));
      block.data()[size - 1] = 0x5A;  // the last byte is the record's own
      EXPECT_EQ(block.data()[size - 1], 0x5A);
    }
  }
}

TEST(GuardedBlock, AnyReadPastTheRecordFaults) {
  GuardedBlock block(8);
  ASSERT_TRUE(block);
  volatile const uint8_t* past = block.data() + 8;
  bool faulted = false;
  g_fault_seen = &faulted;
  // Vectored, so the fault is seen before the test framework's own handling.
  PVOID handler = AddVectoredExceptionHandler(1, &note_fault);
  ASSERT_NE(handler, nullptr);
  (void)*past;
  RemoveVectoredExceptionHandler(handler);
  EXPECT_TRUE(faulted);
}

TEST(MessageBoxes, ThePluginsBoxesAreAnsweredAndOtherWindowsLeftAlone) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  // A stand-in for the options window: a dialog with another caption stays.
  HWND other = CreateWindowExW(0, L"#32770", L"Sabla options", WS_POPUP, 0, 0, 10, 10, nullptr,
                               nullptr, instance, nullptr);
  ASSERT_NE(other, nullptr);
  UINT_PTR timer = SetTimer(nullptr, 0, 50, &answer_boxes);
  const int answer = MessageBoxW(nullptr, L"question", L"Sabla", MB_YESNO);
  KillTimer(nullptr, timer);
  EXPECT_EQ(answer, IDNO);
  EXPECT_TRUE(IsWindow(other));
  DestroyWindow(other);
}

TEST(Campaign, SummaryLineGivesTheFigures) {
  CampaignResult result;
  result.sequences = 300;
  result.crashes = 0;
  result.hangs = 1;
  result.gdi_baseline = 40;
  result.gdi_min = 40;
  result.gdi_max = 42;
  result.gdi_growth_max = 2;
  result.children = 2;
  result.seconds = 10;
  const std::string line = summary_line(result);
  EXPECT_EQ(line.rfind("fuzz_host: 300 sequences, 0 crashes, 1 hangs; GDI objects 40 before, 40 "
                       "to 42 after each sequence (at most +2 in one child)",
                       0),
            0u)
      << line;
  EXPECT_NE(line.find("30.0 sequences/s"), std::string::npos);
}

}  // namespace
}  // namespace fuzz_host

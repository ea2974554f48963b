#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <string_view>

#include "state/host_messages.h"
#include "state/plugin_state.h"
#include "web/search_launcher_win32.h"

namespace sabla {
namespace {

constexpr std::wstring_view kProbeSwitch = L"--sabla-search-probe ";

// Started as a search program ("probe.exe --sabla-search-probe <report> ..."), this test binary
// writes down how it was started (its current folder, its command line and its show flags) and
// ends before any test runs. The report appears whole, by a rename, once it is complete.
void write_probe_report(const std::wstring& path) {
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  STARTUPINFOW startup{};
  GetStartupInfoW(&startup);
  const std::wstring report = std::wstring(folder) + L"\n" + GetCommandLineW() + L"\n" +
                              std::to_wstring(startup.dwFlags & STARTF_USESHOWWINDOW) + L" " +
                              std::to_wstring(startup.wShowWindow);
  const std::wstring part = path + L".part";
  const HANDLE file =
      CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, report.data(), static_cast<DWORD>(report.size() * sizeof(wchar_t)), &written,
            nullptr);
  CloseHandle(file);
  MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

// The report's path: the argument behind the switch, in double quotes or up to a space.
std::wstring probe_report_path(std::wstring_view command_line) {
  const size_t at = command_line.find(kProbeSwitch);
  if (at == std::wstring_view::npos) return {};
  std::wstring_view rest = command_line.substr(at + kProbeSwitch.size());
  if (!rest.empty() && rest[0] == L'"') {
    rest.remove_prefix(1);
    return std::wstring(rest.substr(0, rest.find(L'"')));
  }
  return std::wstring(rest.substr(0, rest.find(L' ')));
}

const bool kStartedAsProbe = [] {
  const std::wstring report = probe_report_path(GetCommandLineW());
  if (report.empty()) return false;
  write_probe_report(report);
  ExitProcess(0);
}();

std::wstring read_report(const std::wstring& path) {
  for (int waited = 0; waited < 30000; waited += 50) {
    if (GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) break;
    Sleep(50);
  }
  const HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::wstring text(4096, L'\0');
  DWORD read = 0;
  ReadFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &read, nullptr);
  CloseHandle(file);
  text.resize(read / sizeof(wchar_t));
  return text;
}

// A folder beside the test binary (not in whatever folder the run started from) holding this
// test binary as "probe.exe" (a hard link, or a copy).
// The probe stays behind: Wine counts every link to the running test binary as in use, so it
// cannot be deleted now; the next run replaces it, and the report is removed.
class ProbeFolder {
 public:
  explicit ProbeFolder(const wchar_t* name) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    folder_ = self;
    folder_.erase(folder_.find_last_of(L"\\/") + 1);
    folder_ += name;
    CreateDirectoryW(folder_.c_str(), nullptr);
    DeleteFileW(report().c_str());
    DeleteFileW(probe().c_str());  // fails only when it is a link to this very binary
    if (!CreateHardLinkW(probe().c_str(), self, nullptr)) CopyFileW(self, probe().c_str(), TRUE);
  }
  ~ProbeFolder() { DeleteFileW(report().c_str()); }
  ProbeFolder(const ProbeFolder&) = delete;
  ProbeFolder& operator=(const ProbeFolder&) = delete;

  const std::wstring& folder() const { return folder_; }
  std::wstring probe() const { return folder_ + L"\\probe.exe"; }
  std::wstring report() const { return folder_ + L"\\report.txt"; }

 private:
  std::wstring folder_;
};

std::u16string u16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }

struct OpenedAddress {
  int calls = 0;
  void* cookie = nullptr;
  uint32_t message = 0;
  uint32_t major = 0;
  uint32_t minor = 0;
  std::string address;
};
OpenedAddress opened;

int32_t record_open_url(void* cookie, uint32_t message, HostMessage* record) {
  ++opened.calls;
  opened.cookie = cookie;
  opened.message = message;
  opened.major = record->major_version;
  opened.minor = record->minor_version;
  opened.address.assign(record->body.open_url.address, record->body.open_url.length);
  return kStatusOk;
}

class SearchLauncher : public ::testing::Test {
 protected:
  SearchLauncher() {
    opened = {};
    state.host.host_cookie = &cookie;
    state.host.host_callback = &record_open_url;
  }
  // The address the host was asked to open for slot 3 with `search_template` in `encoding`.
  std::string address_for(const std::u16string& search_template, int32_t encoding,
                          std::optional<std::u16string_view> artist,
                          std::optional<std::u16string_view> title) {
    state.settings.URL[3] = search_template;
    state.settings.sjis_euc[3] = encoding;
    opened = {};
    EXPECT_TRUE(launch_search(state, artist, title, std::nullopt, 3));
    EXPECT_EQ(opened.calls, 1);
    return opened.address;
  }

  int cookie = 0;
  PluginState state;
};

TEST_F(SearchLauncher, WebAddressGoesToTheHostInTheSlotsEncoding) {
  ASSERT_EQ(GetACP(), 932u);
  const std::u16string address = u"http://&a=[artist]&t=[title]&b=[album]";
  EXPECT_EQ(address_for(address, 0, u"あ b", u"AC/DC"), "http://&a=%82%A0+b&t=AC%2FDC&b=");
  EXPECT_EQ(opened.cookie, &cookie);
  EXPECT_EQ(opened.message, kMessageOpenUrl);
  EXPECT_EQ(opened.major, kHostMessageMajor);
  EXPECT_EQ(opened.minor, kOpenUrlMinor);
  EXPECT_EQ(address_for(address, 1, u"あ b", u"漢"), "http://&a=%A4%A2+b&t=%B4%C1&b=");
  // In UTF-8 the third byte of "あ" (82) counts as a lead byte and takes the space with it.
  EXPECT_EQ(address_for(address, 2, u"あ b", std::nullopt), "http://&a=%E3%81%82%20b&t=&b=");

  // 104 characters are 208 bytes in Shift_JIS: too long, left out; 103 still go in.
  EXPECT_EQ(address_for(address, 0, std::u16string(104, u'あ'), u"t"), "http://&a=&t=t&b=");
  std::string encoded;
  for (int i = 0; i < 103; ++i) encoded += "%82%A0";
  EXPECT_EQ(address_for(address, 0, std::u16string(103, u'あ'), u"t"),
            "http://&a=" + encoded + "&t=t&b=");

  EXPECT_EQ(address_for(u"https://x/?q=[title]", 0, std::nullopt, u"a b"), "https://x/?q=a+b");

  // The template goes over in the system code page; the second byte of "ゼ" (83 5B) is no '['.
  EXPECT_EQ(address_for(u"http://x/ゼartist]/[artist]", 0, u"v", std::nullopt),
            "http://x/\x83[artist]/v");
}

TEST_F(SearchLauncher, RefusedTemplatesAndSlots) {
  state.settings.URL[1] = u"www.example.org/?q=[title]";
  EXPECT_FALSE(launch_search(state, u"a", u"t", u"b", 1));
  EXPECT_FALSE(launch_search(state, u"a", u"t", u"b", 8));
  EXPECT_FALSE(launch_search(state, u"a", u"t", u"b", -1));
  // Too long for the address buffer once filled in: not cut, not sent, but no template fault.
  state.settings.URL[1] = u"http://x/[title][title][title][title]";
  EXPECT_TRUE(launch_search(state, std::nullopt, std::u16string(200, u'~'), std::nullopt, 1));
  EXPECT_EQ(opened.calls, 0);
}

TEST_F(SearchLauncher, ProgramStartsHiddenInItsOwnFolderWithTheValuesAsTheyAre) {
  const ProbeFolder quoted(L"search probe");
  state.settings.URL[0] = u"\"" + u16(quoted.probe()) + u"\" --sabla-search-probe \"" +
                          u16(quoted.report()) + u"\" [artist] [title]";
  EXPECT_TRUE(launch_search(state, u"宇多田 ヒカル", u"First [album] Love", u"X", 0));
  const std::wstring started = read_report(quoted.report());
  ASSERT_FALSE(started.empty());
  EXPECT_EQ(started.substr(0, started.find(L'\n')), quoted.folder());
  EXPECT_NE(started.find(L"\" 宇多田 ヒカル First [album] Love\n"), std::wstring::npos);
  EXPECT_EQ(started.substr(started.rfind(L'\n') + 1), L"1 0");  // STARTF_USESHOWWINDOW, SW_HIDE

  const ProbeFolder bare(L"search_probe");
  state.settings.URL[5] =
      u16(bare.probe()) + u" --sabla-search-probe " + u16(bare.report()) + u" [title]";
  EXPECT_TRUE(launch_search(state, std::nullopt, u"t", std::nullopt, 5));
  const std::wstring bare_started = read_report(bare.report());
  EXPECT_EQ(bare_started.substr(0, bare_started.find(L'\n')), bare.folder());

  // A program that is not there fails to start, silently.
  state.settings.URL[6] = u"C:\\no such folder\\find.exe [title]";
  EXPECT_TRUE(launch_search(state, std::nullopt, u"t", std::nullopt, 6));
}

}  // namespace
}  // namespace sabla

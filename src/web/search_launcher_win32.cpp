#include "web/search_launcher_win32.h"

#include <windows.h>

#include <climits>
#include <string>

#include "state/host_messages.h"
#include "state/plugin_state.h"
#include "web/search_encoding.h"
#include "web/search_template.h"

namespace sabla {
namespace {

// The process and thread handles of a started program, closed when dropped: nothing waits for
// the program.
class ProcessHandles {
 public:
  explicit ProcessHandles(const PROCESS_INFORMATION& info)
      : process_(info.hProcess), thread_(info.hThread) {}
  ~ProcessHandles() {
    if (thread_) CloseHandle(thread_);
    if (process_) CloseHandle(process_);
  }
  ProcessHandles(const ProcessHandles&) = delete;
  ProcessHandles& operator=(const ProcessHandles&) = delete;

 private:
  HANDLE process_;
  HANDLE thread_;
};

std::string to_code_page(std::u16string_view text, UINT code_page) {
  if (text.empty() || text.size() > static_cast<size_t>(INT_MAX)) return {};
  const auto* units = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const int needed = WideCharToMultiByte(code_page, 0, units, length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string bytes(static_cast<size_t>(needed), '\0');
  const int written =
      WideCharToMultiByte(code_page, 0, units, length, bytes.data(), needed, nullptr, nullptr);
  bytes.resize(written > 0 ? static_cast<size_t>(written) : 0);
  return bytes;
}

std::string encoded_value(std::optional<std::u16string_view> text, SearchEncoding encoding) {
  if (!text) return {};
  std::string bytes = to_code_page(*text, encoding == SearchEncoding::kUtf8 ? CP_UTF8 : CP_ACP);
  if (encoding == SearchEncoding::kEucJp) shift_jis_to_euc_jp(bytes);
  return percent_encode_search_value(bytes);
}

LeadBytes ansi_lead_bytes() {
  LeadBytes lead_bytes;
  for (int b = 0; b < 256; ++b) lead_bytes.lead[b] = IsDBCSLeadByte(static_cast<BYTE>(b));
  return lead_bytes;
}

void open_web_search(PluginState& state, std::u16string_view search_template,
                     const SearchValues<std::optional<std::u16string_view>>& values,
                     SearchEncoding encoding) {
  const std::string artist = encoded_value(values.artist, encoding);
  const std::string title = encoded_value(values.title, encoding);
  const std::string album = encoded_value(values.album, encoding);
  const std::optional<std::string> address = make_search_address(
      to_code_page(search_template, CP_ACP), {artist, title, album}, ansi_lead_bytes());
  if (!address) return;
  open_url_in_host(state.host.host_cookie, state.host.host_callback, address->data(),
                   static_cast<uint32_t>(address->size()));
}

bool start_search_program(std::u16string_view search_template,
                          const SearchValues<std::optional<std::u16string_view>>& values) {
  const ProgramCommand command = make_program_command(
      search_template,
      {values.artist.value_or(u""), values.title.value_or(u""), values.album.value_or(u"")});
  if (command.status == ProgramCommandStatus::kNoProgramPath) return false;
  if (command.status == ProgramCommandStatus::kTooLong) return true;

  // CreateProcessW may write into the command line, so it gets a copy of its own.
  std::wstring command_line(command.command_line.begin(), command.command_line.end());
  const std::wstring folder(command.working_folder.begin(), command.working_folder.end());
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION started{};
  if (CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                     nullptr, folder.empty() ? nullptr : folder.c_str(), &startup, &started)) {
    const ProcessHandles handles(started);
  }
  return true;
}

}  // namespace

bool launch_search(PluginState& state, std::optional<std::u16string_view> artist,
                   std::optional<std::u16string_view> title,
                   std::optional<std::u16string_view> album, int slot) {
  if (slot < 0 || slot >= kSearchSlotCount) return false;
  try {
    const std::u16string& search_template = state.settings.URL[static_cast<size_t>(slot)];
    const SearchValues<std::optional<std::u16string_view>> values{artist, title, album};
    switch (classify_search_template(search_template)) {
      case SearchTemplateKind::kWebAddress:
        open_web_search(state, search_template, values,
                        search_encoding_of(state.settings.sjis_euc[static_cast<size_t>(slot)]));
        return true;
      case SearchTemplateKind::kProgram:
        return start_search_program(search_template, values);
      case SearchTemplateKind::kInvalid:
        return false;
    }
  } catch (...) {
    // Out of memory while filling in: nothing was launched, and the template was fine.
  }
  return true;
}

}  // namespace sabla

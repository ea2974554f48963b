#include "ui/tool_dialogs_win32.h"

#include <commctrl.h>

#include <optional>
#include <string>
#include <string_view>

#include "ui/resources/resource.h"
#include "ui/tool_fields.h"

namespace sabla {
namespace {

// The value box is read no further than this.
constexpr int kMaxFieldChars = 32;

// What DialogBoxParamW returns: the tool runs only after an accepted OK.
constexpr INT_PTR kAccepted = 1;
constexpr INT_PTR kCancelled = 0;

struct SpinRange {
  int low;
  int high;
};

// One tool dialog: how it starts and how OK reads it. The procedure finds it through DWLP_USER.
struct ToolDialog {
  int template_id;
  const wchar_t* initial_text;
  std::optional<SpinRange> spin_range;
  ToolFieldResult (*read_field)(std::u16string_view);
  double value = 0;  // set when OK accepted the box
};

std::u16string value_box_text(HWND dialog) {
  wchar_t text[kMaxFieldChars + 1] = {};
  const int length = GetDlgItemTextW(dialog, IDC_TOOL_VALUE, text, kMaxFieldChars + 1);
  return std::u16string(reinterpret_cast<const char16_t*>(text), length > 0 ? length : 0);
}

void on_init(HWND dialog, const ToolDialog& tool) {
  SetDlgItemTextW(dialog, IDC_TOOL_VALUE, tool.initial_text);
  if (tool.spin_range) {
    SendDlgItemMessageW(dialog, IDC_TOOL_SPIN, UDM_SETRANGE32, tool.spin_range->low,
                        tool.spin_range->high);
  }
}

void on_ok(HWND dialog, ToolDialog& tool) {
  const ToolFieldResult result = tool.read_field(value_box_text(dialog));
  switch (result.action) {
    case ToolFieldResult::Action::kAccept:
      tool.value = result.value;
      EndDialog(dialog, kAccepted);
      break;
    case ToolFieldResult::Action::kReplace: {
      const std::wstring limit(result.replacement.begin(), result.replacement.end());
      SetDlgItemTextW(dialog, IDC_TOOL_VALUE, limit.c_str());
      break;
    }
    case ToolFieldResult::Action::kStayOpen:
      break;
  }
}

INT_PTR CALLBACK tool_dialog_procedure(HWND dialog, UINT message, WPARAM w, LPARAM l) {
  try {
    if (message == WM_INITDIALOG) {
      SetWindowLongPtrW(dialog, DWLP_USER, l);
      on_init(dialog, *reinterpret_cast<const ToolDialog*>(l));
      return TRUE;
    }
    auto* tool = reinterpret_cast<ToolDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message != WM_COMMAND || !tool) return FALSE;
    // The close box arrives here as IDCANCEL too.
    switch (LOWORD(w)) {
      case IDOK:
        on_ok(dialog, *tool);
        return TRUE;
      case IDCANCEL:
        EndDialog(dialog, kCancelled);
        return TRUE;
    }
  } catch (...) {
    // Nothing may unwind into the dialog manager; the tool then simply does not run.
    EndDialog(dialog, kCancelled);
    return TRUE;
  }
  return FALSE;
}

// Shows the dialog; true only when it was closed by an accepted OK.
bool run(HWND owner, HINSTANCE module, ToolDialog& tool) {
  // The spin control's window class has to exist before the template is instantiated.
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_UPDOWN_CLASS};
  InitCommonControlsEx(&controls);
  return DialogBoxParamW(module, MAKEINTRESOURCEW(tool.template_id), owner, &tool_dialog_procedure,
                         reinterpret_cast<LPARAM>(&tool)) == kAccepted;
}

}  // namespace

bool ask_shift_units(HWND owner, HINSTANCE module, int32_t& units) {
  ToolDialog tool{IDD_SHIFT_TIMETAGS, L"0", SpinRange{kMinShiftUnits, kMaxShiftUnits},
                  &read_shift_field};
  const bool accepted = run(owner, module, tool);
  units = accepted ? static_cast<int32_t>(tool.value) : 0;
  return accepted;
}

bool ask_line_break_width(HWND owner, HINSTANCE module, int32_t& width) {
  // No spin range here: the control's own default.
  ToolDialog tool{IDD_LINE_BREAKS, L"20", std::nullopt, &read_line_break_field};
  const bool accepted = run(owner, module, tool);
  width = accepted ? static_cast<int32_t>(tool.value) : 0;
  return accepted;
}

bool ask_scale_factor(HWND owner, HINSTANCE module, float& factor) {
  ToolDialog tool{IDD_SCALE_TIMETAGS, L"0.0", SpinRange{0, 2}, &read_scale_field};
  const bool accepted = run(owner, module, tool);
  if (accepted) factor = static_cast<float>(tool.value);
  return accepted;
}

}  // namespace sabla

#include "scenario.h"

#include <charconv>
#include <optional>

#include "command_line.h"
#include "playlist.h"

namespace standin {

namespace {

struct Word {
  std::string_view name;
  StepKind kind;
};

// Steps without an argument.
constexpr Word kPlainSteps[] = {
    {"play", StepKind::kPlay},           {"pause", StepKind::kPause},
    {"resume", StepKind::kResume},       {"stop", StepKind::kStop},
    {"next", StepKind::kNext},           {"prev", StepKind::kPrevious},
    {"ff", StepKind::kFastForward},      {"rewind", StepKind::kRewind},
    {"hide", StepKind::kHide},           {"show", StepKind::kShow},
    {"configure", StepKind::kConfigure}, {"quit", StepKind::kQuit},
};

std::string_view trim(std::string_view s) {
  const size_t first = s.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = s.find_last_not_of(" \t");
  return s.substr(first, last - first + 1);
}

bool is_separator(char c) { return c == '\\' || c == '/'; }

// The part of `path` after a leading "%DOCUMENTS%" (any case, as Windows names are), or nothing
// when it does not begin so.
std::optional<std::string_view> after_documents(std::string_view path) {
  if (path.size() < kDocumentsFolder.size()) return std::nullopt;
  for (size_t i = 0; i < kDocumentsFolder.size(); ++i) {
    const char c = path[i];
    if ((c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c) != kDocumentsFolder[i]) return std::nullopt;
  }
  return path.substr(kDocumentsFolder.size());
}

// An error text when a path of copy or delete cannot name a file.
std::string path_problem(std::string_view word, std::string_view path) {
  if (path.empty()) return std::string(word) + " wants a file name";
  const std::optional<std::string_view> rest = after_documents(path);
  if (rest && (rest->size() < 2 || !is_separator(rest->front()) || is_separator((*rest)[1])))
    return std::string(word) + " wants a file name after %DOCUMENTS%\\, not \"" +
           std::string(path) + "\"";
  return "";
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool parse_colour(std::string_view text, uint32_t& colour) {
  if (text.starts_with('#')) text.remove_prefix(1);
  if (text.size() != 6) return false;
  uint32_t value = 0;
  for (const char c : text) {
    const int digit = hex_digit(c);
    if (digit < 0) return false;
    value = value << 4 | static_cast<uint32_t>(digit);
  }
  colour = value;
  return true;
}

bool parse_ms(std::string_view text, uint32_t min, uint32_t max, uint32_t& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return false;
  uint64_t parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || parsed < min || parsed > max) return false;
  value = static_cast<uint32_t>(parsed);
  return true;
}

bool parse_id(std::string_view text, int& id) {
  uint32_t value = 0;
  if (!parse_ms(text, 0, 0xFFFF, value)) return false;
  id = static_cast<int>(value);
  return true;
}

// "\n" stands for Enter, "\\" for a backslash; the text is typed as written otherwise.
std::string unescape_typed(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size() && (text[i + 1] == 'n' || text[i + 1] == '\\')) {
      out += text[++i] == 'n' ? '\r' : '\\';
    } else {
      out += text[i];
    }
  }
  return out;
}

// The dialog steps: "dialog-tab N", "dialog-type ID TEXT", "dialog-press ID",
// "dialog-modal ID PATH", "dialog-screenshot PATH". Nothing when `word` is none of them.
std::optional<std::string> read_dialog_step(std::string_view word, std::string_view argument,
                                            Step& step) {
  const size_t space = argument.find_first_of(" \t");
  const std::string_view first = argument.substr(0, space);
  const std::string_view rest =
      space == std::string_view::npos ? std::string_view() : trim(argument.substr(space));
  if (word == "dialog-tab") {
    step.kind = StepKind::kDialogTab;
    return parse_id(argument, step.control) && step.control <= 4
               ? ""
               : "dialog-tab wants a tab from 0 to 4";
  }
  if (word == "dialog-press") {
    step.kind = StepKind::kDialogPress;
    return parse_id(argument, step.control) ? "" : "dialog-press wants a control or command id";
  }
  if (word == "dialog-type") {
    step.kind = StepKind::kDialogType;
    step.path = unescape_typed(rest);
    return parse_id(first, step.control) && !rest.empty()
               ? ""
               : "dialog-type wants an edit box id and the text to type";
  }
  if (word == "dialog-modal") {
    step.kind = StepKind::kDialogModal;
    step.path = rest;
    return parse_id(first, step.control) && !rest.empty()
               ? ""
               : "dialog-modal wants a command id and a file name";
  }
  if (word == "dialog-screenshot") {
    step.kind = StepKind::kDialogScreenshot;
    step.path = argument;
    return argument.empty() ? "dialog-screenshot wants a file name" : "";
  }
  return std::nullopt;
}

// Fills `step` from the command word and its argument; an error text when they do not fit.
std::string read_step(std::string_view word, std::string_view argument, Step& step) {
  for (const Word& plain : kPlainSteps) {
    if (word != plain.name) continue;
    step.kind = plain.kind;
    return argument.empty() ? "" : std::string(word) + " takes no argument";
  }
  if (word == "seek") {
    step.kind = StepKind::kSeek;
    return parse_ms(argument, 0, kMaxTrackLengthMs, step.ms)
               ? ""
               : "seek wants a position in milliseconds up to " + std::to_string(kMaxTrackLengthMs);
  }
  if (word == "wait") {
    step.kind = StepKind::kWait;
    return parse_ms(argument, 0, kMaxWaitMs, step.ms)
               ? ""
               : "wait wants milliseconds up to " + std::to_string(kMaxWaitMs);
  }
  if (word == "key") {
    step.kind = StepKind::kKey;
    const size_t space = argument.find_first_of(" \t");
    const std::optional<KeyChord> chord = parse_key_chord(argument.substr(0, space));
    if (!chord)
      return "key wants a key such as F5, A or ctrl+s, not \"" + std::string(argument) + "\"";
    step.key = *chord;
    step.ms = kDefaultKeyHoldMs;
    if (space != std::string_view::npos &&
        !parse_ms(trim(argument.substr(space)), 1, kMaxKeyHoldMs, step.ms)) {
      return "key wants a hold time from 1 to " + std::to_string(kMaxKeyHoldMs) + " ms";
    }
    return "";
  }
  if (word == "screenshot") {
    step.kind = StepKind::kScreenshot;
    step.path = argument;
    return argument.empty() ? "screenshot wants a file name" : "";
  }
  if (word == "resize") {
    step.kind = StepKind::kResize;
    return parse_size(std::string(argument), step.width, step.height)
               ? ""
               : "resize wants WxH, W from " + std::to_string(kMinWidth) + " and H from " +
                     std::to_string(kMinHeight) + " up to " + std::to_string(kMaxSide);
  }
  if (word == "busy") {
    step.kind = StepKind::kBusy;
    step.on = argument == "on";
    return argument == "on" || argument == "off" ? "" : "busy wants on or off";
  }
  if (word == "copy") {
    step.kind = StepKind::kCopy;
    const size_t arrow = argument.find(kCopyArrow);
    if (arrow == std::string_view::npos)
      return "copy wants SRC -> DST, such as copy a.lrc -> %DOCUMENTS%\\a.lrc";
    step.path = trim(argument.substr(0, arrow));
    step.target = trim(argument.substr(arrow + kCopyArrow.size()));
    if (std::string error = path_problem(word, step.path); !error.empty()) return error;
    return path_problem(word, step.target);
  }
  if (word == "delete") {
    step.kind = StepKind::kDelete;
    step.path = argument;
    return path_problem(word, argument);
  }
  if (word == "count-colour") {
    step.kind = StepKind::kCountColour;
    return parse_colour(argument, step.colour)
               ? ""
               : "count-colour wants a colour as RRGGBB, such as FF8000, not \"" +
                     std::string(argument) + "\"";
  }
  if (std::optional<std::string> dialog = read_dialog_step(word, argument, step)) return *dialog;
  return "unknown step \"" + std::string(word) + "\"";
}

}  // namespace

ParsedScenario parse_scenario(std::string_view text) {
  ParsedScenario result;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  size_t line_number = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++line_number;
    if (line.ends_with('\r')) line.remove_suffix(1);
    line = trim(line);
    if (line.empty() || line.front() == '#') continue;

    const size_t space = line.find_first_of(" \t");
    const std::string_view word = line.substr(0, space);
    const std::string_view argument =
        space == std::string_view::npos ? std::string_view() : trim(line.substr(space));
    Step step;
    step.line = line_number;
    if (const std::string error = read_step(word, argument, step); !error.empty()) {
      result.problems.push_back("line " + std::to_string(line_number) + ": " + error);
      continue;
    }
    result.steps.push_back(std::move(step));
  }
  return result;
}

std::string describe_step(const Step& step) {
  for (const Word& plain : kPlainSteps) {
    if (plain.kind == step.kind) return std::string(plain.name);
  }
  switch (step.kind) {
    case StepKind::kSeek:
      return "seek " + std::to_string(step.ms);
    case StepKind::kWait:
      return "wait " + std::to_string(step.ms);
    case StepKind::kKey:
      return std::string("key ") + (step.key.ctrl ? "ctrl+" : "") +
             (step.key.shift ? "shift+" : "") + (step.key.alt ? "alt+" : "") + "0x" +
             "0123456789ABCDEF"[step.key.key >> 4] + "0123456789ABCDEF"[step.key.key & 0xF] + " " +
             std::to_string(step.ms);
    case StepKind::kScreenshot:
      return "screenshot " + step.path;
    case StepKind::kResize:
      return "resize " + std::to_string(step.width) + "x" + std::to_string(step.height);
    case StepKind::kBusy:
      return step.on ? "busy on" : "busy off";
    case StepKind::kCopy:
      return "copy " + step.path + std::string(kCopyArrow) + step.target;
    case StepKind::kDelete:
      return "delete " + step.path;
    case StepKind::kCountColour:
      return "count-colour " + colour_text(step.colour).substr(1);
    case StepKind::kDialogTab:
      return "dialog-tab " + std::to_string(step.control);
    case StepKind::kDialogType:
      return "dialog-type " + std::to_string(step.control) + " (" +
             std::to_string(step.path.size()) + " bytes)";
    case StepKind::kDialogPress:
      return "dialog-press " + std::to_string(step.control);
    case StepKind::kDialogModal:
      return "dialog-modal " + std::to_string(step.control) + " " + step.path;
    case StepKind::kDialogScreenshot:
      return "dialog-screenshot " + step.path;
    default:
      return "?";
  }
}

bool names_documents(std::string_view path) {
  const std::optional<std::string_view> rest = after_documents(path);
  return rest && !rest->empty() && is_separator(rest->front());
}

std::string expand_documents(std::string_view path, std::string_view documents) {
  if (!names_documents(path)) return std::string(path);
  const std::string_view rest = path.substr(kDocumentsFolder.size());
  while (!documents.empty() && is_separator(documents.back())) documents.remove_suffix(1);
  return std::string(documents) + "\\" + std::string(rest.substr(1));
}

std::string colour_text(uint32_t colour) {
  std::string text = "#";
  for (int shift = 20; shift >= 0; shift -= 4) text += "0123456789ABCDEF"[colour >> shift & 0xF];
  return text;
}

}  // namespace standin

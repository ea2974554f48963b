#include "scenario.h"

#include <charconv>

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

bool parse_ms(std::string_view text, uint32_t min, uint32_t max, uint32_t& value) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return false;
  uint64_t parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || parsed < min || parsed > max) return false;
  value = static_cast<uint32_t>(parsed);
  return true;
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
    default:
      return "?";
  }
}

}  // namespace standin

#include "registration_record.h"

#include <algorithm>
#include <string_view>

#include "byte_text.h"

namespace standin {

namespace {

// The byte ranges the registration names; everything else must be zero.
std::vector<bool> named_bytes(const RecordLayout& layout, size_t name_length) {
  std::vector<bool> named(kRecordSize, false);
  auto mark = [&](size_t offset, size_t size) {
    for (size_t i = offset; i < offset + size && i < named.size(); ++i) named[i] = true;
  };
  mark(0, kRecordHeaderSize);
  // Only the length byte and the characters it counts: the rest of the name field is padding.
  mark(layout.name, 1 + std::min(name_length, kMaxNameLength));
  mark(layout.options, 4);
  mark(layout.creator, 4);
  mark(layout.version, 4);
  mark(layout.handler, layout.pointer_size);
  mark(layout.reference, layout.pointer_size);
  mark(layout.time_between_data, 4);
  mark(layout.waveform_channels, 4);
  mark(layout.spectrum_channels, 4);
  mark(layout.min_width, 8);
  mark(layout.min_depth, 4);
  mark(layout.alignment, 2);
  return named;
}

Registration decode(const ByteReader& in, const RecordLayout& layout) {
  Registration r;
  r.major_version = in.u32(0);
  r.minor_version = in.u32(4);
  r.declared_size = in.u32(8);
  r.name_length = in.u8(layout.name);
  const size_t shown = std::min<size_t>(r.name_length, kMaxNameLength);
  for (size_t i = 0; i < shown && in.holds(layout.name + 1 + i, 1); ++i) {
    r.name += static_cast<char>(in.u8(layout.name + 1 + i));
  }
  r.options = in.u32(layout.options);
  r.creator = in.u32(layout.creator);
  for (size_t i = 0; i < r.version.size(); ++i) r.version[i] = in.u8(layout.version + i);
  r.handler = in.word(layout.handler, layout.pointer_size);
  r.reference = in.word(layout.reference, layout.pointer_size);
  r.time_between_data_ms = in.u32(layout.time_between_data);
  r.waveform_channels = in.u32(layout.waveform_channels);
  r.spectrum_channels = in.u32(layout.spectrum_channels);
  r.min_width = in.u16(layout.min_width);
  r.min_height = in.u16(layout.min_width + 2);
  r.max_width = in.u16(layout.min_width + 4);
  r.max_height = in.u16(layout.min_width + 6);
  r.min_depth = in.u16(layout.min_depth);
  r.max_depth = in.u16(layout.min_depth + 2);
  r.alignment = in.u16(layout.alignment);
  return r;
}

std::string version_bytes(const std::array<uint8_t, 4>& v) {
  std::string text;
  for (const uint8_t b : v) {
    if (!text.empty()) text += ' ';
    text += hex(b, 2).substr(2);
  }
  return text;
}

void check_fields(RegistrationCheck& check) {
  const Registration& r = check.fields;
  auto problem = [&](std::string text) { check.problems.push_back(std::move(text)); };
  auto expect = [&](std::string_view what, uint64_t actual, uint64_t expected) {
    if (actual != expected) {
      problem(std::string(what) + " is " + std::to_string(actual) + ", expected " +
              std::to_string(expected));
    }
  };

  if (check.bytes_seen < kRecordSize) {
    problem("the record holds " + std::to_string(check.bytes_seen) + " bytes, expected " +
            std::to_string(kRecordSize));
  }
  expect("the major version", r.major_version, kRecordMajor);
  expect("the minor version", r.minor_version, kRegistrationMinor);
  expect("the record size", r.declared_size, kRecordSize);
  if (r.name_length == 0) problem("the name is empty");
  if (r.name_length > kMaxNameLength) {
    problem("the name length byte is " + std::to_string(r.name_length) + ", at most " +
            std::to_string(kMaxNameLength) + " fit");
  }
  if (r.options != kExpectedOptions) {
    problem("the option bits are " + hex(r.options) + ", expected " + hex(kExpectedOptions) +
            " (idle messages 0x08, configure 0x20)");
  }
  if (r.creator != kExpectedCreator) {
    problem("the creator is " + four_char_text(r.creator) + ", expected " +
            four_char_text(kExpectedCreator));
  }
  if (r.version != kExpectedVersion) {
    problem("the version bytes are " + version_bytes(r.version) + ", expected " +
            version_bytes(kExpectedVersion));
  }
  if (r.handler == 0) problem("the handler address is null");
  expect("the reference value", r.reference, 0);
  if (static_cast<int32_t>(r.time_between_data_ms) < 0) {
    problem("the time between data calls is negative (" +
            std::to_string(static_cast<int32_t>(r.time_between_data_ms)) + " ms)");
  }
  expect("the waveform channel count", r.waveform_channels, kExpectedChannels);
  expect("the spectrum channel count", r.spectrum_channels, kExpectedChannels);
  expect("the minimum width", r.min_width, kExpectedMinSize);
  expect("the minimum height", r.min_height, kExpectedMinSize);
  expect("the maximum width", r.max_width, kExpectedMaxSize);
  expect("the maximum height", r.max_height, kExpectedMaxSize);
  expect("the minimum full-screen depth", r.min_depth, 0);
  expect("the maximum full-screen depth", r.max_depth, 0);
  expect("the window alignment", r.alignment, 0);
  if (!check.stray_bytes.empty()) {
    problem(std::to_string(check.stray_bytes.size()) +
            " byte(s) outside the named fields are not zero");
  }
}

}  // namespace

RegistrationCheck check_registration(std::span<const uint8_t> record, PointerWidth width) {
  RegistrationCheck check;
  check.width = width;
  const std::span<const uint8_t> seen = record.first(std::min(record.size(), kRecordSize));
  check.bytes_seen = seen.size();
  const RecordLayout layout = record_layout(width);
  check.fields = decode(ByteReader(seen), layout);

  const std::vector<bool> named = named_bytes(layout, check.fields.name_length);
  for (size_t i = 0; i < seen.size(); ++i) {
    if (!named[i] && seen[i] != 0) check.stray_bytes.push_back({i, seen[i]});
  }
  check_fields(check);
  return check;
}

std::string format_registration_report(const RegistrationCheck& check) {
  const Registration& r = check.fields;
  const int pointer_digits = check.width == PointerWidth::k64 ? 16 : 8;
  std::string out;
  auto line = [&](std::string_view label, const std::string& value) {
    out += "  ";
    out += label;
    out.append(label.size() < 20 ? 20 - label.size() : 1, ' ');
    out += value;
    out += '\n';
  };

  out += "Registration 'rvis': " + std::to_string(check.bytes_seen) + " bytes read, " +
         (check.width == PointerWidth::k64 ? "64" : "32") + "-bit layout\n";
  line("record", "version " + std::to_string(r.major_version) + "." +
                     std::to_string(r.minor_version) + ", size " + std::to_string(r.declared_size));
  line("name",
       "\"" + escape_bytes(r.name) + "\" (length byte " + std::to_string(r.name_length) + ")");
  std::string options = hex(r.options);
  if (r.options & 0x08) options += " idle-messages";
  if (r.options & 0x20) options += " configure";
  line("options", options);
  line("creator", four_char_text(r.creator));
  line("version", std::to_string(r.version[0]) + "." + std::to_string(r.version[1]) +
                      (r.version[2] == 0x80 ? " final" : " stage " + hex(r.version[2], 2)) +
                      ", revision " + std::to_string(r.version[3]) + " (" +
                      version_bytes(r.version) + ")");
  line("handler", hex(r.handler, pointer_digits));
  line("reference", hex(r.reference, pointer_digits));
  line("data interval", std::to_string(static_cast<int32_t>(r.time_between_data_ms)) + " ms");
  line("channels", "waveform " + std::to_string(r.waveform_channels) + ", spectrum " +
                       std::to_string(r.spectrum_channels));
  line("window size", "min " + std::to_string(r.min_width) + " x " + std::to_string(r.min_height) +
                          ", max " + std::to_string(r.max_width) + " x " +
                          std::to_string(r.max_height));
  line("full-screen depth",
       "min " + std::to_string(r.min_depth) + ", max " + std::to_string(r.max_depth));
  line("alignment", std::to_string(r.alignment));

  constexpr size_t kStrayShown = 8;
  std::string stray = check.stray_bytes.empty() ? "none" : "";
  for (size_t i = 0; i < check.stray_bytes.size() && i < kStrayShown; ++i) {
    const StrayByte& b = check.stray_bytes[i];
    if (i > 0) stray += ", ";
    stray += "offset " + std::to_string(b.offset) + " = " + hex(b.value, 2);
  }
  if (check.stray_bytes.size() > kStrayShown) {
    stray += " and " + std::to_string(check.stray_bytes.size() - kStrayShown) + " more";
  }
  line("stray bytes", stray);

  for (const std::string& p : check.problems) out += "  problem: " + p + "\n";
  out += check.valid()
             ? "Registration is valid.\n"
             : "Registration has " + std::to_string(check.problems.size()) + " problem(s).\n";
  return out;
}

}  // namespace standin

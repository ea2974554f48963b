#include "registration_record.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "registration_records.h"

namespace standin {
namespace {

using test::offsets_for;
using test::put16;
using test::put32;
using test::put8;
using test::put_word;
using test::sabla_registration;

bool has_problem(const RegistrationCheck& check, const std::string& text) {
  for (const std::string& p : check.problems) {
    if (p.find(text) != std::string::npos) return true;
  }
  return false;
}

class RegistrationRecordTest : public ::testing::TestWithParam<PointerWidth> {};

TEST_P(RegistrationRecordTest, CorrectRecordDecodesEveryField) {
  const PointerWidth width = GetParam();
  const uint64_t handler = width == PointerWidth::k64 ? 0x00007FF612345678ull : 0x6A801234u;
  const auto record = sabla_registration(width, handler, 25);
  const RegistrationCheck check = check_registration(record, width);

  EXPECT_TRUE(check.valid()) << format_registration_report(check);
  const Registration& r = check.fields;
  EXPECT_EQ(r.major_version, 10u);
  EXPECT_EQ(r.minor_version, 7u);
  EXPECT_EQ(r.declared_size, 636u);
  EXPECT_EQ(r.name_length, 5);
  EXPECT_EQ(r.name, "Sabla");
  EXPECT_EQ(r.options, 0x28u);
  EXPECT_EQ(r.creator, 0x3F3F3F3Fu);
  EXPECT_EQ(r.version, (std::array<uint8_t, 4>{1, 0, 0x80, 0}));
  EXPECT_EQ(r.handler, handler);
  EXPECT_EQ(r.reference, 0u);
  EXPECT_EQ(r.time_between_data_ms, 25u);
  EXPECT_EQ(r.waveform_channels, 2u);
  EXPECT_EQ(r.spectrum_channels, 2u);
  EXPECT_EQ(r.min_width, 64);
  EXPECT_EQ(r.min_height, 64);
  EXPECT_EQ(r.max_width, 0x7FFF);
  EXPECT_EQ(r.max_height, 0x7FFF);
  EXPECT_TRUE(check.stray_bytes.empty());
}

TEST_P(RegistrationRecordTest, EveryWrongFieldIsNamed) {
  const PointerWidth width = GetParam();
  const auto& o = offsets_for(width);
  struct Case {
    const char* name;
    void (*spoil)(std::vector<uint8_t>&, const test::HandOffsets&);
    const char* problem;
  };
  const Case cases[] = {
      {"major", [](auto& r, auto&) { put32(r, 0, 9); }, "major version is 9, expected 10"},
      {"minor", [](auto& r, auto&) { put32(r, 4, 9); }, "minor version is 9, expected 7"},
      {"size", [](auto& r, auto&) { put32(r, 8, 600); }, "record size is 600, expected 636"},
      {"options", [](auto& r, auto&) { put32(r, 76, 0x08); }, "option bits are 0x00000008"},
      {"creator", [](auto& r, auto&) { put32(r, 80, 0x53424C41); }, "creator is 'SBLA'"},
      {"stage", [](auto& r, auto&) { put8(r, 86, 0x60); }, "version bytes are 01 00 60 00"},
      {"handler", [](auto& r, auto& o) { put_word(r, o.handler, 0, o.pointer); },
       "handler address is null"},
      {"reference", [](auto& r, auto& o) { put_word(r, o.reference, 7, o.pointer); },
       "reference value is 7"},
      {"loop", [](auto& r, auto& o) { put32(r, o.loop, 0xFFFFFFFB); }, "negative (-5 ms)"},
      {"waveform", [](auto& r, auto& o) { put32(r, o.waveform, 1); }, "waveform channel count"},
      {"spectrum", [](auto& r, auto& o) { put32(r, o.spectrum, 0); }, "spectrum channel count"},
      {"min width", [](auto& r, auto& o) { put16(r, o.min_width, 32); }, "minimum width is 32"},
      {"min height", [](auto& r, auto& o) { put16(r, o.min_height, 1); }, "minimum height is 1"},
      {"max width", [](auto& r, auto& o) { put16(r, o.max_width, 800); }, "maximum width is 800"},
      {"max height", [](auto& r, auto& o) { put16(r, o.max_height, 600); },
       "maximum height is 600"},
      {"min depth", [](auto& r, auto& o) { put16(r, o.min_depth, 16); },
       "minimum full-screen depth is 16"},
      {"max depth", [](auto& r, auto& o) { put16(r, o.max_depth, 32); },
       "maximum full-screen depth is 32"},
      {"alignment", [](auto& r, auto& o) { put16(r, o.alignment, 1); }, "window alignment is 1"},
  };
  for (const Case& c : cases) {
    auto record = sabla_registration(width);
    c.spoil(record, o);
    const RegistrationCheck check = check_registration(record, width);
    EXPECT_EQ(check.problems.size(), 1u) << c.name << "\n" << format_registration_report(check);
    EXPECT_TRUE(has_problem(check, c.problem)) << c.name << "\n"
                                               << format_registration_report(check);
    EXPECT_TRUE(check.stray_bytes.empty()) << c.name;
  }
}

TEST_P(RegistrationRecordTest, NonZeroBytesOutsideTheFieldsAreReportedByOffset) {
  const PointerWidth width = GetParam();
  auto record = sabla_registration(width);
  put8(record, 12 + 1 + 5, 0x41);  // just behind the name, inside its field
  put8(record, offsets_for(width).end, 0x5A);
  put8(record, 635, 0xFF);
  const RegistrationCheck check = check_registration(record, width);

  ASSERT_EQ(check.stray_bytes.size(), 3u);
  EXPECT_EQ(check.stray_bytes[0].offset, 18u);
  EXPECT_EQ(check.stray_bytes[0].value, 0x41);
  EXPECT_EQ(check.stray_bytes[1].offset, offsets_for(width).end);
  EXPECT_EQ(check.stray_bytes[2].offset, 635u);
  EXPECT_TRUE(has_problem(check, "3 byte(s) outside the named fields"));
  EXPECT_EQ(check.fields.name, "Sabla");
}

TEST_P(RegistrationRecordTest, RecordsShorterThanTheLayoutAreNeverReadPastTheirEnd) {
  const PointerWidth width = GetParam();
  const auto full = sabla_registration(width);
  for (const size_t size :
       {size_t{0}, size_t{5}, size_t{12}, size_t{20}, size_t{90}, size_t{635}}) {
    // A heap block of exactly `size` bytes, so a read past it is caught under the sanitizer.
    auto block = std::make_unique<uint8_t[]>(size);
    std::memcpy(block.get(), full.data(), size);
    const RegistrationCheck check =
        check_registration(std::span<const uint8_t>(block.get(), size), width);
    EXPECT_EQ(check.bytes_seen, size);
    EXPECT_TRUE(has_problem(check, "the record holds " + std::to_string(size) + " bytes")) << size;
    EXPECT_FALSE(check.valid());
  }
}

TEST_P(RegistrationRecordTest, BytesBeyondTheRecordSizeAreIgnored) {
  const PointerWidth width = GetParam();
  auto record = sabla_registration(width);
  record.resize(700, 0xEE);
  const RegistrationCheck check = check_registration(record, width);
  EXPECT_TRUE(check.valid()) << format_registration_report(check);
  EXPECT_EQ(check.bytes_seen, 636u);
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, RegistrationRecordTest,
                         ::testing::Values(PointerWidth::k32, PointerWidth::k64),
                         [](const auto& info) {
                           return info.param == PointerWidth::k64 ? "Bits64" : "Bits32";
                         });

TEST(RegistrationName, LengthByteOutsideTheFieldIsAProblemAndReadsOnlyTheField) {
  auto record = sabla_registration(PointerWidth::k32);
  put8(record, 12, 200);
  std::memset(record.data() + 13, 'x', 63);
  const RegistrationCheck check = check_registration(record, PointerWidth::k32);
  EXPECT_EQ(check.fields.name, std::string(63, 'x'));
  EXPECT_TRUE(has_problem(check, "name length byte is 200, at most 63 fit"));
  EXPECT_TRUE(check.stray_bytes.empty());
}

TEST(RegistrationName, EmptyNameIsAProblem) {
  auto record = sabla_registration(PointerWidth::k32);
  put8(record, 12, 0);
  std::memset(record.data() + 13, 0, 5);
  EXPECT_TRUE(has_problem(check_registration(record, PointerWidth::k32), "the name is empty"));
}

TEST(RegistrationName, LongestNameUsesTheWholeFieldWithoutStrayBytes) {
  auto record = sabla_registration(PointerWidth::k32);
  put8(record, 12, 63);
  std::memset(record.data() + 13, 'n', 63);
  const RegistrationCheck check = check_registration(record, PointerWidth::k32);
  EXPECT_TRUE(check.valid()) << format_registration_report(check);
  EXPECT_EQ(check.fields.name.size(), 63u);
}

TEST(RegistrationReport, ShowsFieldsEscapedAndTheVerdict) {
  auto record = sabla_registration(PointerWidth::k32, 0x6A801234, 10);
  put8(record, 12, 3);
  record[13] = 'S';
  record[14] = static_cast<uint8_t>(0x83);  // a Shift_JIS lead byte
  record[15] = '"';
  record[16] = record[17] = 0;
  const std::string report =
      format_registration_report(check_registration(record, PointerWidth::k32));
  EXPECT_NE(report.find("32-bit layout"), std::string::npos) << report;
  EXPECT_NE(report.find(R"("S\x83\"" (length byte 3))"), std::string::npos) << report;
  EXPECT_NE(report.find("0x00000028 idle-messages configure"), std::string::npos) << report;
  EXPECT_NE(report.find("'" + std::string(4, '?') + "'"), std::string::npos) << report;
  EXPECT_NE(report.find("1.0 final, revision 0 (01 00 80 00)"), std::string::npos) << report;
  EXPECT_NE(report.find("0x6A801234"), std::string::npos) << report;
  EXPECT_NE(report.find("10 ms"), std::string::npos) << report;
  EXPECT_NE(report.find("min 64 x 64, max 32767 x 32767"), std::string::npos) << report;
  EXPECT_NE(report.find("stray bytes         none"), std::string::npos) << report;
  EXPECT_NE(report.find("Registration is valid."), std::string::npos) << report;
}

TEST(RegistrationReport, ListsTheFirstStrayBytesAndCountsTheRest) {
  auto record = sabla_registration(PointerWidth::k32);
  for (size_t i = 0; i < 10; ++i) record[300 + i] = 1;
  const std::string report =
      format_registration_report(check_registration(record, PointerWidth::k32));
  EXPECT_NE(report.find("offset 300 = 0x01, offset 301"), std::string::npos) << report;
  EXPECT_NE(report.find("offset 307 = 0x01 and 2 more"), std::string::npos) << report;
  EXPECT_EQ(report.find("offset 308"), std::string::npos) << report;
  EXPECT_NE(report.find("Registration has 1 problem(s)."), std::string::npos) << report;
}

}  // namespace
}  // namespace standin

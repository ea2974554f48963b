#pragma once
// The plug-in's release identity. The resource script reads the macros (so the version
// resource and the registration can never disagree); code reads the constants below.

#define SABLA_VERSION_MAJOR 1
#define SABLA_VERSION_MINOR 0
#define SABLA_VERSION_PATCH 0
#define SABLA_VERSION_BUILD 0

#define SABLA_STRINGIFY_(x) #x
#define SABLA_STRINGIFY(x) SABLA_STRINGIFY_(x)
// clang-format off
#define SABLA_VERSION_TEXT                                                              \
  SABLA_STRINGIFY(SABLA_VERSION_MAJOR) "." SABLA_STRINGIFY(SABLA_VERSION_MINOR) "."     \
  SABLA_STRINGIFY(SABLA_VERSION_PATCH) "." SABLA_STRINGIFY(SABLA_VERSION_BUILD)
// clang-format on

// The maker's web site: opened from the version prompts and the about page, and named in the
// no-lyrics hint. A configuration value; the release build sets the real address here.
#define SABLA_SITE_URL "https://sabla.example.org/"
// The version-information server: "/zip/Sabla_ver.txt" and "/zip/Sabla_ver_beta.txt" are
// fetched from it (scheme, host and optional port, no trailing '/'). A configuration value too;
// the checks take the server as an argument, so tests point them at a server of their own.
#define SABLA_VERSION_SERVER_URL "http://sabla.example.org"

#ifndef RC_INVOKED
#include <cstdint>
#include <string_view>

namespace sabla {

inline constexpr int kVersionMajor = SABLA_VERSION_MAJOR;
inline constexpr int kVersionMinor = SABLA_VERSION_MINOR;
inline constexpr int kVersionPatch = SABLA_VERSION_PATCH;
inline constexpr int kVersionBuild = SABLA_VERSION_BUILD;
inline constexpr std::string_view kVersionText = SABLA_VERSION_TEXT;
inline constexpr std::string_view kSiteUrl = SABLA_SITE_URL;
inline constexpr std::string_view kVersionServerUrl = SABLA_VERSION_SERVER_URL;

// The registration's version bytes: major, minor revision, stage, non-release revision.
inline constexpr uint8_t kReleaseStageFinal = 0x80;
inline constexpr uint8_t kRegistrationVersion[4] = {kVersionMajor, kVersionMinor,
                                                    kReleaseStageFinal, 0};

}  // namespace sabla
#endif

// The version checks over the plug-in's state: which flag each file reports to, and the own
// version number they compare with.
#include "state/plugin_state.h"
#include "web/version_check.h"

namespace sabla {
namespace {

std::atomic<int32_t>& flag_of(PluginState& state, VersionFile file) {
  return file == VersionFile::kRelease ? state.requests.new_version_pending
                                       : state.requests.new_beta_pending;
}

}  // namespace

bool start_version_check(PluginState& state, VersionFile file, std::string_view server) {
  try {
    // Copied here on the host thread: the worker reads nothing of the state.
    const int32_t own = state.host.own_version_number;
    std::string url = version_file_url(server, file);
    return state.version_checks.start(
        flag_of(state, file), [own, url = std::move(url)](CheckCancel& cancel) {
          return version_check_flag(fetch_version_file(url, &cancel), own);
        });
  } catch (...) {
    return false;
  }
}

void start_release_version_check(PluginState& state) {
  start_version_check(state, VersionFile::kRelease);
}

void start_beta_version_check(PluginState& state) {
  start_version_check(state, VersionFile::kBeta);
}

int32_t run_version_check(PluginState& state, VersionFile file, std::string_view server) {
  int32_t result = -1;
  try {
    result = version_check_flag(fetch_version_file(version_file_url(server, file)),
                                state.host.own_version_number);
  } catch (...) {
  }
  flag_of(state, file).store(result);
  return result;
}

}  // namespace sabla

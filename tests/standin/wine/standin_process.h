#pragma once
// Runs the built stand-in as its own process, as a user would, and collects what it printed.
#include <functional>
#include <string>
#include <vector>

namespace standin::test {

struct StandinRun {
  int exit_code = -1;
  std::string out;
  std::string err;
  std::vector<std::string> lines;  // `out`, one entry per line, without line ends

  // The first line at or after `from` that contains `text`; -1 when there is none.
  int find(const std::string& text, int from = 0) const;
  // Every line that contains `text`.
  std::vector<std::string> all(const std::string& text) const;
};

// The stand-in with `args`, waited for up to two minutes; after that it is ended. Once it has
// started, `while_running` gets its process id, to work its window as a user would.
StandinRun run_standin(const std::vector<std::string>& args,
                       const std::function<void(unsigned long process_id)>& while_running = {});

// A build path as the stand-in under Wine reads it: "/a/b" becomes "Z:\a\b".
std::string windows_path(const std::string& path);

// Writes `text` to `path` (UTF-8), replacing it.
void write_file(const std::string& path, const std::string& text);

// Where the test programs were built: the fake plug-ins, the stand-in and the samples.
std::string standin_exe();
std::string fake_plugin();
std::string samples_dir();

}  // namespace standin::test

// standin.exe: plays the iTunes host's part for a visual plug-in. See usage_text().
#include <windows.h>

#include "app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // A plug-in that fails to load must not leave a system dialog waiting for a click.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  const standin::Console console;
  const standin::ParsedCommandLine parsed =
      standin::parse_command_line(standin::command_line_arguments());
  if (!parsed.ok()) {
    console.error("standin: " + parsed.error + "\n" + standin::usage_text());
    return standin::kExitBadArguments;
  }
  if (parsed.options.help) {
    console.out(standin::usage_text());
    return standin::kExitOk;
  }
  try {
    standin::App app(instance, parsed.options, console);
    return app.run();
  } catch (const std::exception& e) {
    console.error(std::string("standin: ") + e.what() + "\n");
    return standin::kExitInternalFailure;
  }
}

#pragma once
// What the stand-in's exit code says; scripts and tests rely on these values.
namespace standin {

enum ExitCode : int {
  kExitOk = 0,
  kExitInternalFailure = 1,
  kExitBadArguments = 2,
  kExitPluginNotLoadable = 3,
  kExitEntryMissing = 4,
  kExitRegistrationFailed = 5,
  kExitScreenshotFailed = 6,
  kExitPlaylistUnusable = 7,
  kExitScenarioUnusable = 8,
  kExitFileStepFailed = 9,
};

}  // namespace standin

#include "standin_process.h"

#include <windows.h>

#include <fstream>

namespace standin::test {

namespace {

std::wstring wide(const std::string& text) {
  const int size =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(size > 0 ? size : 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

std::string quoted(const std::string& arg) {
  std::string out = "\"";
  for (const char c : arg) {
    if (c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

// An inheritable file for the child's output, deleted when closed.
HANDLE output_file(const std::wstring& path) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherit,
                     CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

std::string read_all(HANDLE file) {
  std::string text;
  SetFilePointer(file, 0, nullptr, FILE_BEGIN);
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  return text;
}

std::vector<std::string> split_lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

}  // namespace

int StandinRun::find(const std::string& text, int from) const {
  for (int i = std::max(from, 0); i < static_cast<int>(lines.size()); ++i) {
    if (lines[static_cast<size_t>(i)].find(text) != std::string::npos) return i;
  }
  return -1;
}

std::vector<std::string> StandinRun::all(const std::string& text) const {
  std::vector<std::string> found;
  for (const std::string& line : lines) {
    if (line.find(text) != std::string::npos) found.push_back(line);
  }
  return found;
}

std::string windows_path(const std::string& path) {
  if (path.empty() || path.front() != '/') return path;
  std::string out = "Z:" + path;
  for (char& c : out) {
    if (c == '/') c = '\\';
  }
  return out;
}

void write_file(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

StandinRun run_standin(const std::vector<std::string>& args,
                       const std::function<void(unsigned long)>& while_running) {
  StandinRun run;
  static int serial = 0;
  const std::wstring stem =
      L"standin_run_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(++serial);
  const HANDLE out = output_file(stem + L".out");
  const HANDLE err = output_file(stem + L".err");
  std::string command = quoted(windows_path(standin_exe()));
  for (const std::string& arg : args) command += " " + quoted(arg);
  std::wstring command_line = wide(command);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  if (out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE &&
      CreateProcessW(nullptr, command_line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                     &startup, &process)) {
    if (while_running) while_running(process.dwProcessId);
    if (WaitForSingleObject(process.hProcess, 120000) == WAIT_TIMEOUT) {
      TerminateProcess(process.hProcess, 99);
      WaitForSingleObject(process.hProcess, 5000);
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    run.exit_code = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  } else {
    run.err = "the stand-in could not be started: error " + std::to_string(GetLastError());
  }
  if (out != INVALID_HANDLE_VALUE) {
    run.out = read_all(out);
    CloseHandle(out);
  }
  if (err != INVALID_HANDLE_VALUE) {
    run.err += read_all(err);
    CloseHandle(err);
  }
  run.lines = split_lines(run.out);
  return run;
}

std::string standin_exe() { return STANDIN_EXE; }
std::string fake_plugin() { return windows_path(STANDIN_FAKE_PLUGIN); }
std::string samples_dir() { return windows_path(STANDIN_SAMPLES_DIR); }

}  // namespace standin::test

#include <windows.h>
#include <wininet.h>

#include <climits>
#include <utility>

#include "web/version_check.h"

namespace sabla {
namespace {

// An internet handle, closed when dropped.
class InternetHandle {
 public:
  explicit InternetHandle(HINTERNET handle) : handle_(handle) {}
  ~InternetHandle() {
    if (handle_) InternetCloseHandle(handle_);
  }
  InternetHandle(const InternetHandle&) = delete;
  InternetHandle& operator=(const InternetHandle&) = delete;

  HINTERNET get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HINTERNET handle_;
};

std::wstring widened(const std::string& url) {
  if (url.empty() || url.size() > static_cast<size_t>(INT_MAX)) return {};
  const int size = static_cast<int>(url.size());
  const int needed = MultiByteToWideChar(CP_UTF8, 0, url.data(), size, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<size_t>(needed), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, url.data(), size, wide.data(), needed);
  return wide;
}

// WinINet opens an address whatever the HTTP status, so a missing file would hand over the
// server's error page, whose "404 Not Found" reads as version 404.
bool answered_with_success(HINTERNET file) {
  DWORD status = 0;
  DWORD size = sizeof(status);
  if (!HttpQueryInfoW(file, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                      nullptr)) {
    return true;  // not HTTP: nothing to query, the open itself is the answer
  }
  return status >= 200 && status < 300;
}

}  // namespace

std::optional<std::string> fetch_version_file(const std::string& url) {
  const std::wstring address = widened(url);
  if (address.empty()) return std::nullopt;
  const InternetHandle session(
      InternetOpenW(L"Sabla", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return std::nullopt;
  const InternetHandle file(
      InternetOpenUrlW(session.get(), address.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0));
  if (!file || !answered_with_success(file.get())) return std::nullopt;

  // One read may return only part of what is there, so read until the bytes are in or the file
  // ends; only then does "fewer than 16 bytes" mean a short file.
  std::string bytes(kVersionReadSize, '\0');
  DWORD total = 0;
  while (total < kVersionReadSize) {
    DWORD read = 0;
    if (!InternetReadFile(file.get(), bytes.data() + total,
                          static_cast<DWORD>(kVersionReadSize) - total, &read)) {
      return std::nullopt;
    }
    if (read == 0) break;
    total += read;
  }
  bytes.resize(total);
  return bytes;
}

}  // namespace sabla

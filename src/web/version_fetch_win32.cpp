#include <windows.h>
#include <wininet.h>

#include <climits>
#include <mutex>
#include <utility>

#include "state/wine_host_win32.h"
#include "web/version_check.h"

namespace sabla {
namespace {

// The two internet handles of one fetch, each closed exactly once: by the fetch when it ends, or
// earlier by a cancel on the owner's thread. Closing a handle is how WinINet lets another thread
// end a call blocked on it.
class FetchHandles {
 public:
  FetchHandles() = default;
  ~FetchHandles() { close_all(); }
  FetchHandles(const FetchHandles&) = delete;
  FetchHandles& operator=(const FetchHandles&) = delete;

  // Takes `handle` as the session (or the file); false, with the handle closed, when it is
  // null or the fetch was cancelled meanwhile.
  bool adopt_session(HINTERNET handle) { return adopt(session_, handle); }
  bool adopt_file(HINTERNET handle) { return adopt(file_, handle); }

  // Null once closed. A cancel may still close the handle between this and its use; the call
  // then fails as on a dropped connection.
  HINTERNET session() const {
    const std::lock_guard lock(mutex_);
    return session_;
  }
  HINTERNET file() const {
    const std::lock_guard lock(mutex_);
    return file_;
  }

  void close_all() noexcept {
    const std::lock_guard lock(mutex_);
    closed_ = true;
    // The file first: it belongs to the session.
    for (HINTERNET* handle : {&file_, &session_}) {
      if (*handle) InternetCloseHandle(std::exchange(*handle, nullptr));
    }
  }

 private:
  bool adopt(HINTERNET& slot, HINTERNET handle) {
    if (!handle) return false;
    const std::lock_guard lock(mutex_);
    if (closed_) {
      InternetCloseHandle(handle);
      return false;
    }
    slot = handle;
    return true;
  }

  mutable std::mutex mutex_;
  bool closed_ = false;
  HINTERNET session_ = nullptr;
  HINTERNET file_ = nullptr;
};

// On Windows, closing a handle from another thread is how a call blocked on it is ended. Wine's
// WinINet does not end the call, and frees objects the call is still using, which corrupts the
// host's heap (freed memory read inside InternetCloseHandle). There a cancel only marks the
// check, which then stops at its next step or its time-out and reports nothing.
bool cancel_closes_handles() { return !running_on_wine(); }

std::wstring widened(const std::string& url) {
  if (url.empty() || url.size() > static_cast<size_t>(INT_MAX)) return {};
  const int size = static_cast<int>(url.size());
  const int needed = MultiByteToWideChar(CP_UTF8, 0, url.data(), size, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<size_t>(needed), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, url.data(), size, wide.data(), needed);
  return wide;
}

// WinINet's own waits run to half a minute or more per step.
void limit_waits(HINTERNET session) {
  DWORD limit = kVersionFetchTimeoutMs;
  for (const DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                             INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_DATA_SEND_TIMEOUT,
                             INTERNET_OPTION_DATA_RECEIVE_TIMEOUT}) {
    InternetSetOptionW(session, option, &limit, sizeof limit);
  }
  DWORD retries = 1;
  InternetSetOptionW(session, INTERNET_OPTION_CONNECT_RETRIES, &retries, sizeof retries);
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

std::optional<std::string> read_start(const FetchHandles& handles, const CheckCancel* cancel) {
  // One read may return only part of what is there, so read until the bytes are in or the file
  // ends; only then does "fewer than 16 bytes" mean a short file.
  std::string bytes(kVersionReadSize, '\0');
  DWORD total = 0;
  while (total < kVersionReadSize) {
    if (cancel && cancel->cancelled()) return std::nullopt;
    const HINTERNET file = handles.file();
    DWORD read = 0;
    if (!file || !InternetReadFile(file, bytes.data() + total,
                                   static_cast<DWORD>(kVersionReadSize) - total, &read)) {
      return std::nullopt;
    }
    if (read == 0) break;
    total += read;
  }
  bytes.resize(total);
  return bytes;
}

}  // namespace

std::optional<std::string> fetch_version_file(const std::string& url, CheckCancel* cancel) {
  const std::wstring address = widened(url);
  if (address.empty()) return std::nullopt;
  FetchHandles handles;
  // Declared after the handles, so disarmed before they are closed and freed.
  const bool close_on_cancel = cancel_closes_handles();
  const ArmedCancel armed(cancel, [&handles, close_on_cancel] {
    if (close_on_cancel) handles.close_all();
  });
  if (!armed.armed()) return std::nullopt;
  const auto cancelled = [cancel] { return cancel && cancel->cancelled(); };

  if (!handles.adopt_session(
          InternetOpenW(L"Sabla", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0))) {
    return std::nullopt;
  }
  limit_waits(handles.session());
  if (cancelled()) return std::nullopt;
  if (!handles.adopt_file(InternetOpenUrlW(handles.session(), address.c_str(), nullptr, 0,
                                           INTERNET_FLAG_RELOAD, 0))) {
    return std::nullopt;
  }
  if (cancelled() || !answered_with_success(handles.file())) return std::nullopt;
  std::optional<std::string> read = read_start(handles, cancel);
  // A cancelled read ends like a short file; it is no answer.
  if (cancelled()) return std::nullopt;
  return read;
}

}  // namespace sabla

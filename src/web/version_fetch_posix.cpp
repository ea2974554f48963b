// The version fetch of the native build, where there is no WinINet: a plain HTTP/1.0 GET over a
// socket, so the checks run end to end in the native tests too. Only "http://host[:port]/path".
#include <netdb.h>
#include <sys/socket.h>
#include <unistd.h>

#include "web/version_check.h"

namespace sabla {
namespace {

class Socket {
 public:
  explicit Socket(int fd) : fd_(fd) {}
  ~Socket() {
    if (fd_ >= 0) close(fd_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

struct HttpAddress {
  std::string host;
  std::string port = "80";
  std::string authority;
  std::string path = "/";
};

std::optional<HttpAddress> split_address(std::string_view url) {
  constexpr std::string_view kScheme = "http://";
  if (url.substr(0, kScheme.size()) != kScheme) return std::nullopt;
  url.remove_prefix(kScheme.size());
  HttpAddress address;
  const size_t slash = url.find('/');
  address.authority = std::string(url.substr(0, slash));
  if (slash != std::string_view::npos) address.path = std::string(url.substr(slash));
  const size_t colon = address.authority.rfind(':');
  address.host = address.authority.substr(0, colon);
  if (colon != std::string::npos) address.port = address.authority.substr(colon + 1);
  if (address.host.empty() || address.port.empty()) return std::nullopt;
  return address;
}

class AddressList {
 public:
  explicit AddressList(const HttpAddress& address) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    if (getaddrinfo(address.host.c_str(), address.port.c_str(), &hints, &list_) != 0) {
      list_ = nullptr;
    }
  }
  ~AddressList() {
    if (list_) freeaddrinfo(list_);
  }
  AddressList(const AddressList&) = delete;
  AddressList& operator=(const AddressList&) = delete;
  const addrinfo* first() const { return list_; }

 private:
  addrinfo* list_ = nullptr;
};

// Linux applies the send time-out to connect() as well.
void limit_waits(int fd) {
  timeval limit{};
  limit.tv_sec = kVersionFetchTimeoutMs / 1000;
  limit.tv_usec = (kVersionFetchTimeoutMs % 1000) * 1000;
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
  setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
}

bool send_all(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t sent = send(fd, data.data(), data.size(), MSG_NOSIGNAL);
    if (sent <= 0) return false;
    data.remove_prefix(static_cast<size_t>(sent));
  }
  return true;
}

// GET over an open connection.
std::optional<std::string> fetch_over_socket(const HttpAddress& address, const Socket& connection) {
  const std::string request = "GET " + address.path + " HTTP/1.0\r\nHost: " + address.authority +
                              "\r\nUser-Agent: Sabla\r\nCache-Control: no-cache\r\n\r\n";
  if (!send_all(connection.get(), request)) return std::nullopt;

  constexpr size_t kMaxHeader = 16384;
  std::string response;
  size_t body = std::string::npos;
  while (body == std::string::npos || response.size() - body < kVersionReadSize) {
    char buffer[4096];
    const ssize_t got = recv(connection.get(), buffer, sizeof(buffer), 0);
    if (got < 0) return std::nullopt;
    if (got == 0) break;
    response.append(buffer, static_cast<size_t>(got));
    if (body == std::string::npos) {
      const size_t end = response.find("\r\n\r\n");
      if (end != std::string::npos)
        body = end + 4;
      else if (response.size() > kMaxHeader)
        return std::nullopt;
    }
  }
  if (body == std::string::npos) return std::nullopt;
  // "HTTP/1.x 2xx ..."
  if (response.size() < 12 || response.compare(0, 5, "HTTP/") != 0) return std::nullopt;
  const size_t status = response.find(' ');
  if (status == std::string::npos || status + 1 >= response.size() || response[status + 1] != '2') {
    return std::nullopt;
  }
  return response.substr(body, kVersionReadSize);
}

}  // namespace

std::optional<std::string> fetch_version_file(const std::string& url, CheckCancel* cancel) {
  const std::optional<HttpAddress> address = split_address(url);
  if (!address) return std::nullopt;
  const AddressList addresses(*address);
  for (const addrinfo* a = addresses.first(); a; a = a->ai_next) {
    const Socket connection(socket(a->ai_family, a->ai_socktype, a->ai_protocol));
    if (connection.get() < 0) continue;
    limit_waits(connection.get());
    // Shutting the socket down wakes a call blocked on it; it is closed only here, so the
    // abort never meets a descriptor number that has been reused.
    const ArmedCancel armed(cancel, [fd = connection.get()] { shutdown(fd, SHUT_RDWR); });
    if (!armed.armed()) return std::nullopt;
    if (connect(connection.get(), a->ai_addr, a->ai_addrlen) != 0) {
      if (cancel && cancel->cancelled()) return std::nullopt;
      continue;
    }
    std::optional<std::string> read = fetch_over_socket(*address, connection);
    // A cancelled read ends like a short file; it is no answer.
    if (cancel && cancel->cancelled()) return std::nullopt;
    return read;
  }
  return std::nullopt;
}

}  // namespace sabla

#include "core/web/local_http_server.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace sabla::test {
namespace {

#ifdef _WIN32
using SocketHandle = SOCKET;
const SocketHandle kNoSocket = INVALID_SOCKET;
void close_socket(SocketHandle s) { closesocket(s); }
using AddressSize = int;
constexpr int kSendFlags = 0;
struct SocketLibrary {
  SocketLibrary() {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  ~SocketLibrary() { WSACleanup(); }
};
#else
using SocketHandle = int;
const SocketHandle kNoSocket = -1;
void close_socket(SocketHandle s) { close(s); }
using AddressSize = socklen_t;
constexpr int kSendFlags = MSG_NOSIGNAL;  // a client that has gone must not end the test run
struct SocketLibrary {};
#endif

SocketHandle as_socket(std::intptr_t s) { return static_cast<SocketHandle>(s); }

sockaddr_in loopback(uint16_t port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(port);
  return address;
}

// A socket bound to a free port of 127.0.0.1; the port goes to `port`.
SocketHandle bound_socket(uint16_t& port) {
  [[maybe_unused]] static SocketLibrary library;
  const SocketHandle s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == kNoSocket) return s;
  sockaddr_in address = loopback(0);
  AddressSize size = sizeof(address);
  if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    close_socket(s);
    return kNoSocket;
  }
  port = ntohs(address.sin_port);
  return s;
}

const char* reason(int status) { return status == 200 ? "OK" : "Error"; }

}  // namespace

LocalHttpServer::LocalHttpServer() {
  SocketHandle s = bound_socket(port_);
  if (s != kNoSocket && listen(s, 8) != 0) {
    close_socket(s);
    s = kNoSocket;
  }
  listener_ = static_cast<std::intptr_t>(s);
  if (s != kNoSocket) thread_ = std::thread([this] { run(); });
}

LocalHttpServer::~LocalHttpServer() {
  if (as_socket(listener_) == kNoSocket) return;
  // accept() is woken by one last connection of our own.
  stopping_ = true;
  const SocketHandle wake = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address = loopback(port_);
  connect(wake, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  thread_.join();
  close_socket(wake);
  for (const std::intptr_t held : held_) close_socket(as_socket(held));
  close_socket(as_socket(listener_));
}

std::string LocalHttpServer::address() const {
  if (as_socket(listener_) == kNoSocket) return {};
  return "http://127.0.0.1:" + std::to_string(port_);
}

void LocalHttpServer::serve(const std::string& path, int status, const std::string& body) {
  const std::lock_guard lock(mutex_);
  answers_[path] = Answer{status, body};
}

void LocalHttpServer::answer_never() {
  const std::lock_guard lock(mutex_);
  silent_ = true;
}

std::vector<std::string> LocalHttpServer::requests() const {
  const std::lock_guard lock(mutex_);
  return requests_;
}

std::string LocalHttpServer::refused_address() {
  uint16_t port = 0;
  const SocketHandle s = bound_socket(port);
  if (s == kNoSocket) return {};
  close_socket(s);
  return "http://127.0.0.1:" + std::to_string(port);
}

void LocalHttpServer::run() {
  while (true) {
    const SocketHandle connection = accept(as_socket(listener_), nullptr, nullptr);
    if (stopping_ || connection == kNoSocket) {
      if (connection != kNoSocket) close_socket(connection);
      return;
    }
    if (answer(static_cast<std::intptr_t>(connection))) {
      close_socket(connection);
    } else {
      held_.push_back(static_cast<std::intptr_t>(connection));
    }
  }
}

bool LocalHttpServer::answer(std::intptr_t connection) {
  const SocketHandle s = as_socket(connection);
  std::string head;
  char buffer[1024];
  while (head.find("\r\n\r\n") == std::string::npos) {
    const int got = static_cast<int>(recv(s, buffer, sizeof(buffer), 0));
    if (got <= 0) return true;
    head.append(buffer, static_cast<size_t>(got));
  }
  const size_t path_start = head.find(' ') + 1;
  const std::string path = head.substr(path_start, head.find(' ', path_start) - path_start);
  Answer found;
  {
    const std::lock_guard lock(mutex_);
    requests_.push_back(head);
    if (silent_) return false;
    const auto it = answers_.find(path);
    if (it != answers_.end()) found = it->second;
  }
  const std::string response =
      "HTTP/1.1 " + std::to_string(found.status) + " " + reason(found.status) +
      "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(found.body.size()) +
      "\r\nConnection: close\r\n\r\n" + found.body;
  send(s, response.data(), static_cast<int>(response.size()), kSendFlags);
#ifdef _WIN32
  shutdown(s, SD_SEND);
#else
  shutdown(s, SHUT_WR);
#endif
  return true;
}

}  // namespace sabla::test

#pragma once
// A tiny HTTP server on 127.0.0.1 inside the test process, for the version checks: fixed bodies
// by path, one connection at a time, every request kept for the test to read.
#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace sabla::test {

class LocalHttpServer {
 public:
  LocalHttpServer();
  ~LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;

  // "http://127.0.0.1:<port>"; empty when the server could not listen.
  std::string address() const;
  // Answers GET `path` with `status` and `body`; any other path gets 404.
  void serve(const std::string& path, int status, const std::string& body);
  // From now on every request is read, kept, and never answered: its connection stays open,
  // silent, until the server goes.
  void answer_never();
  // The heads of the requests received so far.
  std::vector<std::string> requests() const;

  // An address on 127.0.0.1 where nothing listens, so a connection is refused.
  static std::string refused_address();

 private:
  struct Answer {
    int status = 404;
    std::string body = "Not Found";
  };
  void run();
  // False when the connection is held open rather than answered.
  bool answer(std::intptr_t connection);

  std::intptr_t listener_;
  uint16_t port_ = 0;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::map<std::string, Answer> answers_;
  std::vector<std::string> requests_;
  bool silent_ = false;
  std::vector<std::intptr_t> held_;  // the silent connections
  std::thread thread_;
};

}  // namespace sabla::test

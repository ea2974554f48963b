#include "web/version_check.h"

#include <utility>

namespace sabla {
namespace {

bool is_space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// The number at the start of `text` as atoi reads it (blanks, a sign, digits); nothing without a
// digit, since a file with no number is no answer. Wide enough that no kVersionReadSize - 1
// characters can overflow it.
std::optional<int64_t> leading_number(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && is_space(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  if (i == text.size() || text[i] < '0' || text[i] > '9') return std::nullopt;
  int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = value * 10 + (text[i] - '0');
  return negative ? -value : value;
}

}  // namespace

std::string version_file_url(std::string_view server, VersionFile file) {
  std::string url(server);
  url += file == VersionFile::kRelease ? "/zip/Sabla_ver.txt" : "/zip/Sabla_ver_beta.txt";
  return url;
}

int32_t version_check_flag(const std::optional<std::string>& read, int32_t own_version_number) {
  static_assert(kVersionReadSize <= 19, "the number must fit in 64 bits");
  if (!read || read->size() >= kVersionReadSize) return -1;
  // The text ends at its first zero byte, as the terminated buffer did.
  const std::string_view text(read->c_str());
  if (text.size() <= 3) return -1;
  const std::optional<int64_t> published = leading_number(text);
  if (!published) return -1;
  return own_version_number < *published ? 1 : 0;
}

bool VersionChecks::start(std::atomic<int32_t>& flag, std::function<int32_t()> check) {
  join_finished();
  if (running(flag)) return false;
  try {
    workers_.reserve(workers_.size() + 1);  // so that the push below cannot fail
    auto worker = std::make_unique<Worker>();
    Worker* const w = worker.get();
    w->flag = &flag;
    w->thread = std::thread([w, &flag, check = std::move(check)]() noexcept {
      int32_t result = -1;
      try {
        result = check();
      } catch (...) {
      }
      flag.store(result);
      w->finished.store(true, std::memory_order_release);
    });
    workers_.push_back(std::move(worker));
  } catch (...) {
    return false;
  }
  return true;
}

bool VersionChecks::running(const std::atomic<int32_t>& flag) const {
  for (const auto& worker : workers_) {
    if (worker->flag == &flag && !worker->finished.load(std::memory_order_acquire)) return true;
  }
  return false;
}

void VersionChecks::join_finished() {
  std::erase_if(workers_, [](const std::unique_ptr<Worker>& worker) {
    if (!worker->finished.load(std::memory_order_acquire)) return false;
    worker->thread.join();
    return true;
  });
}

void VersionChecks::wait() {
  for (const auto& worker : workers_) {
    if (worker->thread.joinable()) worker->thread.join();
  }
  workers_.clear();
}

}  // namespace sabla

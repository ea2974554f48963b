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

void CheckCancel::cancel() noexcept {
  const std::lock_guard lock(mutex_);
  cancelled_ = true;
  // Run under the lock, so that disarm() cannot return while the abort is still using what the
  // fetch is about to free.
  if (abort_) {
    try {
      abort_();
    } catch (...) {
    }
    abort_ = nullptr;
  }
}

bool CheckCancel::cancelled() const noexcept {
  const std::lock_guard lock(mutex_);
  return cancelled_;
}

bool CheckCancel::arm(std::function<void()> abort) noexcept {
  const std::lock_guard lock(mutex_);
  if (cancelled_) return false;
  abort_ = std::move(abort);
  return true;
}

void CheckCancel::disarm() noexcept {
  const std::lock_guard lock(mutex_);
  abort_ = nullptr;
}

}  // namespace sabla

// SPDX-License-Identifier: GPL-3.0-or-later
#include "cases/library_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <thread>

#include "base/text_parse.h"

namespace quorin::cases {
namespace {

// Often enough that a save follows a finished compaction at once, rarely enough to cost nothing.
constexpr std::chrono::milliseconds kRetryInterval{15};

}  // namespace

LibraryLock::~LibraryLock() { Release(); }

bool LibraryLock::Acquire(Mode mode, std::chrono::milliseconds patience) {
  if (held_ && (mode_ == Mode::kExclusive || mode == Mode::kShared)) return true;
  Release();  // a shared lock is given up before the exclusive one is asked for: flock does not upgrade atomically
  fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd_ < 0) {
    // Nothing can be written beside a database whose folder refuses a new file (or that is no
    // folder at all): there is nothing to guard, and the operation fails with its own message.
    held_ = true;
    mode_ = mode;
    return true;
  }
  const int operation = (mode == Mode::kExclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
  const auto deadline = std::chrono::steady_clock::now() + patience;
  for (;;) {
    if (::flock(fd_, operation) == 0) {
      held_ = true;
      mode_ = mode;
      return true;
    }
    if ((errno != EWOULDBLOCK && errno != EINTR) || std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(kRetryInterval);
  }
  ::close(fd_);
  fd_ = -1;
  return false;
}

void LibraryLock::Release() {
  if (fd_ >= 0) ::close(fd_);  // closing the file lets go of its lock
  fd_ = -1;
  held_ = false;
}

std::optional<std::int64_t> LibraryLock::Generation() const {
  if (fd_ < 0) return std::nullopt;
  char text[32] = {};
  const ssize_t n = ::pread(fd_, text, sizeof text - 1, 0);
  if (n <= 0) return 0;
  return base::ParseInt64(base::Trim(std::string_view(text, static_cast<std::size_t>(n)))).value_or(0);
}

bool LibraryLock::AdvanceGeneration() {
  if (fd_ < 0 || !held_ || mode_ != Mode::kExclusive) return fd_ < 0 && held_;
  const std::string text = std::to_string(Generation().value_or(0) + 1) + "\n";
  return ::pwrite(fd_, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size()) &&
         ::ftruncate(fd_, static_cast<off_t>(text.size())) == 0 && ::fsync(fd_) == 0;
}

}  // namespace quorin::cases

// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/library_watcher.h"

#include <chrono>

#include "cases/shared_library.h"
#include "ui/program_files.h"

namespace quorin::ui {
namespace {

// How long one wait for a notification lasts: also how soon the thread sees that it is to stop.
constexpr int kWaitMilliseconds = 250;
// How often a lost server is tried again.
constexpr auto kRetryEvery = std::chrono::seconds(2);

}  // namespace

LibraryWatcher::LibraryWatcher(std::string target, std::string password, QObject* parent)
    : QObject(parent), target_(std::move(target)), password_(std::move(password)) {
  thread_ = std::jthread([this](std::stop_token stop) { Watch(stop); });
}

LibraryWatcher::~LibraryWatcher() {
  thread_.request_stop();
  if (thread_.joinable()) thread_.join();
}

void LibraryWatcher::Watch(std::stop_token stop) {
  // The signals are sent from the window's thread: this object lives there.
  const auto post = [this](auto emitIt) { QMetaObject::invokeMethod(this, emitIt, Qt::QueuedConnection); };
  cases::SharedLibrary library;
  bool connected = library.Connect(target_, password_) && library.Listen();
  bool lost = false;
  auto nextTry = std::chrono::steady_clock::now();
  while (!stop.stop_requested()) {
    if (!connected) {
      if (!lost) {
        lost = true;
        const QString why = ToQString(library.lastError());
        post([this, why] { emit Lost(why); });
      }
      if (std::chrono::steady_clock::now() < nextTry) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kWaitMilliseconds));
        continue;
      }
      nextTry = std::chrono::steady_clock::now() + kRetryEvery;
      connected = library.Connect(target_, password_) && library.Listen();
      if (!connected) continue;
      lost = false;
      // What others did meanwhile was not announced to this connection: the window reads it all.
      post([this] {
        emit Back();
        emit Changed();
      });
      continue;
    }
    if (library.WaitForChange(kWaitMilliseconds)) {
      post([this] { emit Changed(); });
    } else if (!library.lastError().empty()) {
      connected = false;
    }
  }
}

}  // namespace quorin::ui

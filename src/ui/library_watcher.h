// SPDX-License-Identifier: GPL-3.0-or-later
// Watches a practice's shared library on a thread of its own, with a connection of its own: tells
// the window of every change other users make, and of the server going away and coming back.
#pragma once

#include <QObject>
#include <atomic>
#include <string>
#include <thread>

namespace quorin::ui {

class LibraryWatcher : public QObject {
  Q_OBJECT

 public:
  // Starts watching the library of the connection string (with the window's password, if any).
  LibraryWatcher(std::string target, std::string password, QObject* parent = nullptr);
  ~LibraryWatcher() override;  // stops the thread and waits for it

 signals:
  // Another connection changed cases or categories (several changes close together come as one).
  void Changed();
  // The server no longer answers; `why` says what libpq said.
  void Lost(const QString& why);
  // The server answers again (after Lost).
  void Back();

 private:
  void Watch(std::stop_token stop);

  const std::string target_;
  const std::string password_;
  std::jthread thread_;
};

}  // namespace quorin::ui

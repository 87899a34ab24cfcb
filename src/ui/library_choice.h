// SPDX-License-Identifier: GPL-3.0-or-later
// The library each user last chose (the local one or a practice's shared one), remembered in the
// user's own settings, and the shared library's password in the system keyring, never in a file.
#pragma once

#include <QString>
#include <optional>

#include "cases/library_address.h"

namespace quorin::ui {

struct LibraryChoice {
  bool shared = false;
  cases::LibraryAddress address;  // the last shared library, also when the local one is in use
};

LibraryChoice RememberedLibraryChoice();
void RememberLibraryChoice(const LibraryChoice& choice);

// The keyring's entry of an address: user@server:port/database.
QString KeyringEntry(const cases::LibraryAddress& address);
// The password kept for the entry: nullopt when there is none or no keyring answers (`why` then
// says which, empty for none).
std::optional<QString> KeptPassword(const QString& entry, QString& why);
// Keeps the password for the entry; false with `why` when no keyring takes it.
bool KeepPassword(const QString& entry, const QString& password, QString& why);

}  // namespace quorin::ui

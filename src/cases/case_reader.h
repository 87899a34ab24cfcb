// SPDX-License-Identifier: GPL-3.0-or-later
// What the case lists read of a library, whichever it is: the local one (MRecordBase) or the shared
// one in PostgreSQL (SharedLibrary). A reading pass is opened, read and closed; it sees the library
// as it was when it opened.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "chart/record_data.h"

namespace quorin::cases {

class CaseReader {
 public:
  virtual ~CaseReader() = default;

  // The category list in its order.
  [[nodiscard]] virtual bool ReadClassNames(std::vector<std::string>& names) = 0;
  [[nodiscard]] virtual bool BeginReading() = 0;
  virtual void EndReading() = 0;
  // Every case whose id lies in [firstId, lastId], in id order, handed to `each` (false stops).
  [[nodiscard]] virtual bool ReadCaseRange(int firstId, int lastId, const std::function<bool(TRecordData& record)>& each) = 0;
  // Whether the reader reads a list of ids at once (ReadCaseList), which then serves every list.
  virtual bool ReadsIdLists() const { return false; }
  // The cases of the ids (increasing, distinct) that exist, in id order, handed to `each` (false stops).
  [[nodiscard]] virtual bool ReadCaseList(const std::vector<int>& /*ids*/,
                                          const std::function<bool(TRecordData& record)>& /*each*/) {
    return false;
  }
  // One case; false with an empty ReadError() when there is none.
  [[nodiscard]] virtual bool ReadCase(int id, TRecordData& record) = 0;
  // Why the last reading failed; empty when it did not.
  virtual std::string ReadError() const = 0;
};

}  // namespace quorin::cases

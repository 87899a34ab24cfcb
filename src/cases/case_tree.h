// SPDX-License-Identifier: GPL-3.0-or-later
// The case tree's model: node texts, sort keys and orderings, and the loading pass
// that turns a list of case ids into ordered items. The window only shows the result.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <thread>
#include <tuple>
#include <vector>

#include "calendar/yi_date_ex.h"
#include "cases/case_reader.h"
#include "cases/case_store.h"
#include "cases/im_code.h"
#include "cases/record_base.h"

namespace quorin::cases {

// The tree's display style (`showStyle`) and order (`sort`) as init.ini keeps them.
enum class CaseDisplayStyle { kCategories = 0, kList = 1 };
enum class CaseOrder { kNone = 0, kTimeDescending = 1, kTimeAscending = 2, kSurnameAscending = 3, kSurnameDescending = 4 };

// One loaded case while the tree is built.
struct TCusTreeItem {
  std::int32_t id = 0;
  std::string text;       // the node text
  std::string className;  // category
  bool male = true;       // image choice
  double timeKey = 0;     // Julian day of the Gregorian moment; 0 when the order is none
  std::int32_t surnameKey = 0;  // 0 when the order is none
};

// "name      公2020-01-02 08:05 ": name padded to 8 GBK bytes, " 农" or " 公", "闰" for a
// leap lunar month, then the historical year, month, day, hour and minute.
std::string CaseNodeText(const TRecordData& record);

// The Hundred Family Surnames in their traditional order (434 characters).
extern const std::string_view kSurnameOrder;
// Position (1 to 434) of the first occurrence of a character in that text, 0 when absent.
int SurnamePosition(std::string_view character);
// The code of the first letter of the name's first character × 1000, plus that
// character's surname position; 0 for an empty name.
std::int32_t SurnameKey(const ImCode& imCode, std::string_view name);
// Julian day of the case's moment (a lunar date converted to Gregorian); nullopt
// when the lunar date does not exist.
std::optional<double> TimeKey(calendar::MYiDateEx& date, const TRecordData& record);

// The same keys for many cases: each lunar month is converted once, and a lunar day
// is found from its month's first day, which gives exactly the key above.
class TimeKeyCalculator {
 public:
  std::optional<double> operator()(const TRecordData& record);

 private:
  struct LunarMonth {
    bool exists = false;
    double firstDayNoon = 0;  // Julian day of the month's first day at noon
    int length = 0;
  };
  const LunarMonth& Month(int year, int month, bool leap);

  calendar::MYiDateEx date_;
  std::map<std::tuple<int, int, bool>, LunarMonth> months_;
};

// Orders the items stably by the order's main and second key; the same result as
// inserting them one by one at the place a binary search finds (after equal items).
void SortCaseItems(std::vector<TCusTreeItem>& items, CaseOrder order);
// Whether a goes before b in the order (never for kNone, which keeps the given order).
bool CaseItemBefore(CaseOrder order, const TCusTreeItem& a, const TCusTreeItem& b);
// The tree item of one case with the keys of the order; nothing when the case has no place
// in it (a lunar date that does not exist).
std::optional<TCusTreeItem> CaseItemOf(TRecordData record, CaseOrder order);

// The ids the tree starts with: from the counter downwards, at most `limit`, above 0.
std::vector<int> NewestCaseIds(int counter, int limit);

// Called every 50 cases read: cases read so far and the number of ids.
using LoadProgress = std::function<void(int done, int total)>;

struct CaseLoadResult {
  std::vector<TCusTreeItem> items;  // in tree order
  // The categories of the store's list that have at least one item, in list order.
  std::vector<std::string> listedCategories;
  bool cancelled = false;
  std::string error;  // set when the store could not be read at all
};

// Reads the cases of the ids through one batch of the store, skips ids that are not
// found (and lunar dates that do not exist when ordering), computes the keys and orders.
CaseLoadResult LoadCaseItems(CaseReader& store, const std::vector<int>& ids, CaseOrder order,
                             std::stop_token stop = {}, const LoadProgress& progress = {});

// The category display: one group per listed category with items, then, in order of
// first appearance, the categories of items that the list lacks. Item indexes in order.
struct CaseCategoryGroup {
  std::string name;
  std::vector<int> items;
};
std::vector<CaseCategoryGroup> GroupByCategory(const CaseLoadResult& result);

// Runs LoadCaseItems on a worker thread with its own reader and connection on the
// library, so the store of the user-interface thread is never shared. The
// callbacks run on the worker thread; the window forwards them to its own thread.
class CaseLoadingPass {
 public:
  using Finished = std::function<void(CaseLoadResult result)>;

  CaseLoadingPass() = default;
  ~CaseLoadingPass();  // stops a running pass and waits for it
  CaseLoadingPass(const CaseLoadingPass&) = delete;
  CaseLoadingPass& operator=(const CaseLoadingPass&) = delete;

  // Starts a pass; false when one is still running.
  bool Start(CaseReaderOpener open, std::vector<int> ids, CaseOrder order, Finished finished,
             LoadProgress progress = {});
  // Asks the running pass to stop; it then finishes with `cancelled` set.
  void RequestStop();
  // Waits until the running pass has finished.
  void Wait();
  bool IsRunning() const { return running_; }

 private:
  std::jthread worker_;
  std::atomic<bool> running_ = false;
};

}  // namespace quorin::cases

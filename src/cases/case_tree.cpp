// SPDX-License-Identifier: GPL-3.0-or-later
#include "cases/case_tree.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <unordered_map>

#include "base/gbk.h"
#include "base/utf8.h"
#include "calendar/historical_year.h"

namespace quorin::cases {

const std::string_view kSurnameOrder =
    "赵钱孙李周吴郑王冯陈褚卫蒋沈韩杨朱秦尤许何吕施张孔曹严华金魏陶姜戚谢邹喻柏水窦章云苏潘葛奚范彭郎鲁韦昌马苗凤花方俞任袁柳"
    "酆鲍史唐费廉岑薛雷贺倪汤滕殷罗毕郝邬安常乐于时傅皮卞齐康伍余元卜顾孟平黄和穆萧尹姚邵舒汪祁毛禹狄米贝明臧计伏成戴谈宋茅庞熊纪"
    "屈项祝董杜阮蓝闵席季麻强贾路娄危江童颜郭梅盛林刁钟徐邱骆高夏蔡田樊胡凌霍虞万支柯咎管卢莫经房裘缪干解应宗宣丁贲邓郁单杭洪包诸"
    "左石崔吉钮龚程嵇邢滑裴陆荣翁荀羊於惠甄加封芮羿储靳汲邴糜松井段富巫乌焦巴弓牧隗山谷车候宓蓬全郗班仰秋仲尹宫宁仇栾暴甘钭厉戎祖"
    "武符刘詹束龙叶辛司韶郜黎蓟薄印宿白怀蒲台从鄂索咸籍赖卓蔺屠蒙池乔阴胥能苍双闻莘党翟谭贡劳逄姬申扶堵冉宰郦雍璩桑桂濮牛寿通边扈"
    "燕冀郏浦尚农温别庄晏柴瞿阎充慕连茹习宦艾鱼容向古易慎戈廖庚终暨居衡步都耿满弘匡国文寇广禄阙东殳沃利蔚越夔隆师巩厍聂晁勾敖融冷"
    "訾辛阚那简饶空曾毋沙乜养鞠须丰巢关蒯相查后红游竺权逯盖益桓公晋楚法汝鄢涂钦缑亢况有商牟佘佴伯赏墨哈谯笪年爱阳佟琴言福百家姓续"
    "岳帅";

std::string CaseNodeText(const TRecordData& r) {
  std::string text = base::PadToGbkBytes(r.name, 8);
  text += r.isLunar ? " 农" : " 公";
  if (r.isLunar && r.isLeapMonth) text += "闰";
  char moment[64];
  std::snprintf(moment, sizeof moment, "%04d-%02d-%02d %02d:%02d ", calendar::HistoricalYear(r.year), r.month, r.day, r.hour,
                r.minute);
  return text + moment;
}

int SurnamePosition(std::string_view character) {
  // Built once: every case of a long list asks.
  static const std::unordered_map<char32_t, int> positions = [] {
    std::unordered_map<char32_t, int> map;
    int position = 1;
    for (std::size_t pos = 0; pos < kSurnameOrder.size(); ++position) map.emplace(base::NextCodePoint(kSurnameOrder, pos), position);
    return map;  // emplace keeps the first of a character that occurs twice
  }();
  std::size_t end = 0;
  if (character.empty()) return 0;
  const char32_t c = base::NextCodePoint(character, end);
  if (end != character.size()) return 0;
  const auto it = positions.find(c);
  return it == positions.end() ? 0 : it->second;
}

// Surnames sort by initial letter, then by place in the surname list; the list is shorter than this.
constexpr std::int32_t kSurnameSlotsPerInitial = 1000;

std::int32_t SurnameKey(const ImCode& imCode, std::string_view name) {
  if (name.empty()) return 0;
  std::size_t end = 0;
  base::NextCodePoint(name, end);
  const std::string_view first = name.substr(0, end);
  const std::string gbk = base::Utf8ToGbkLossy(first);
  std::string pinyin = imCode.ConvertGbk(gbk, 0);
  if (gbk.size() == 2) {
    for (char& c : pinyin) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  const int initial = pinyin.empty() ? 0 : static_cast<unsigned char>(pinyin[0]);
  return initial * kSurnameSlotsPerInitial + SurnamePosition(first);
}

std::optional<double> TimeKey(calendar::MYiDateEx& date, const TRecordData& r) {
  calendar::CivilDateTime moment{r.year, r.month, r.day, r.hour, r.minute};
  if (r.isLunar) {
    calendar::CivilDateTime solar;
    if (!date.LunarToSolar(moment, r.isLeapMonth, solar).ok) return std::nullopt;
    moment = solar;
  }
  return date.ToJulianDay(moment);
}

const TimeKeyCalculator::LunarMonth& TimeKeyCalculator::Month(int year, int month, bool leap) {
  const auto key = std::make_tuple(year, month, leap);
  if (const auto it = months_.find(key); it != months_.end()) return it->second;
  LunarMonth m;
  calendar::CivilDateTime lunar{static_cast<std::int16_t>(year), static_cast<std::int16_t>(month), 1, 12, 0};
  calendar::CivilDateTime solar;
  if (date_.LunarToSolar(lunar, leap, solar).ok) {
    m.exists = true;
    m.firstDayNoon = date_.ToJulianDay(solar);
    lunar.day = 30;
    m.length = date_.LunarToSolar(lunar, leap, solar).ok ? 30 : 29;
  }
  return months_.emplace(key, m).first->second;
}

std::optional<double> TimeKeyCalculator::operator()(const TRecordData& r) {
  if (!r.isLunar) return TimeKey(date_, r);
  const LunarMonth& m = Month(r.year, r.month, r.isLeapMonth);
  if (!m.exists || r.day < 1 || r.day > m.length) return std::nullopt;
  calendar::CivilDateTime solar = date_.FromJulianDay(m.firstDayNoon + (r.day - 1));
  solar.hour = r.hour;
  solar.minute = r.minute;
  return date_.ToJulianDay(solar);
}

// Whether a goes before b by the order's main key, then its second key.
bool CaseItemBefore(CaseOrder order, const TCusTreeItem& a, const TCusTreeItem& b) {
  switch (order) {
    case CaseOrder::kTimeDescending:
      return a.timeKey != b.timeKey ? a.timeKey > b.timeKey : a.surnameKey < b.surnameKey;
    case CaseOrder::kTimeAscending:
      return a.timeKey != b.timeKey ? a.timeKey < b.timeKey : a.surnameKey < b.surnameKey;
    case CaseOrder::kSurnameAscending:
      return a.surnameKey != b.surnameKey ? a.surnameKey < b.surnameKey : a.timeKey > b.timeKey;
    case CaseOrder::kSurnameDescending:
      return a.surnameKey != b.surnameKey ? a.surnameKey > b.surnameKey : a.timeKey > b.timeKey;
    case CaseOrder::kNone:
      break;
  }
  return false;
}

void SortCaseItems(std::vector<TCusTreeItem>& items, CaseOrder order) {
  if (order == CaseOrder::kNone) return;
  // Indexes are sorted and the items moved once: cheaper than moving items in every merge.
  std::vector<std::uint32_t> index(items.size());
  for (std::uint32_t i = 0; i < index.size(); ++i) index[i] = i;
  std::stable_sort(index.begin(), index.end(),
                   [&](std::uint32_t a, std::uint32_t b) { return CaseItemBefore(order, items[a], items[b]); });
  std::vector<TCusTreeItem> sorted;
  sorted.reserve(items.size());
  for (const std::uint32_t i : index) sorted.push_back(std::move(items[i]));
  items = std::move(sorted);
}

std::vector<int> NewestCaseIds(int counter, int limit) {
  std::vector<int> ids;
  for (int id = counter; id > 0 && static_cast<int>(ids.size()) < limit; --id) ids.push_back(id);
  return ids;
}

namespace {

// Turns read cases into tree items, with the keys of the order.
class ItemMaker {
 public:
  explicit ItemMaker(CaseOrder order) : order_(order) {}

  // False when the case has no place in the order (a lunar date that does not exist).
  bool Make(TRecordData& record, TCusTreeItem& item) {
    if (order_ != CaseOrder::kNone) {
      const auto timeKey = timeKeys_(record);
      if (!timeKey) return false;
      item.timeKey = *timeKey;
      item.surnameKey = SurnameKey(imCode_, record.name);
    }
    item.id = record.id;
    item.text = CaseNodeText(record);
    item.male = record.male;
    item.className = std::move(record.className);
    return true;
  }

 private:
  CaseOrder order_;
  TimeKeyCalculator timeKeys_;
  ImCode imCode_;
};

}  // namespace

std::optional<TCusTreeItem> CaseItemOf(TRecordData record, CaseOrder order) {
  ItemMaker maker(order);
  TCusTreeItem item;
  if (!maker.Make(record, item)) return std::nullopt;
  return item;
}

namespace {

// A scan of the id range pays off when the list covers a good part of it: short lists read case
// by case as quickly, longer ones must hold a quarter of the range.
bool WorthScanning(const std::vector<std::pair<int, std::size_t>>& byId) {
  constexpr std::size_t kLeastForScan = 256;
  constexpr double kRangePerListedId = 4;
  if (byId.size() < kLeastForScan) return false;
  const double range = static_cast<double>(byId.back().first) - byId.front().first + 1;
  return static_cast<double>(byId.size()) * kRangePerListedId >= range;
}

// Often enough for a moving progress bar, seldom enough not to slow the load.
constexpr int kProgressEvery = 50;

}  // namespace

CaseLoadResult LoadCaseItems(CaseReader& store, const std::vector<int>& ids, CaseOrder order, std::stop_token stop,
                             const LoadProgress& progress) {
  CaseLoadResult result;
  std::vector<std::string> categories;
  if (!store.ReadClassNames(categories) || !store.BeginReading()) {
    result.error = store.ReadError();
    return result;
  }
  ItemMaker maker(order);
  const int total = static_cast<int>(ids.size());
  std::vector<std::optional<TCusTreeItem>> slots(ids.size());  // by position in the id list
  int handled = 0;
  auto place = [&](TRecordData& record, std::size_t position) {
    if (progress && handled % kProgressEvery == 0) progress(handled, total);
    ++handled;
    TCusTreeItem item;
    if (maker.Make(record, item)) slots[position] = std::move(item);
  };

  std::vector<std::pair<int, std::size_t>> byId;
  byId.reserve(ids.size());
  for (std::size_t i = 0; i < ids.size(); ++i) byId.emplace_back(ids[i], i);
  std::sort(byId.begin(), byId.end());
  bool read = true;
  // Cases arriving in id order are placed at every position that lists them.
  std::size_t k = 0;
  const auto merge = [&](TRecordData& record) {
    if (stop.stop_requested()) return false;
    while (k < byId.size() && byId[k].first < record.id) ++k;
    for (; k < byId.size() && byId[k].first == record.id; ++k) {
      if (k + 1 < byId.size() && byId[k + 1].first == record.id) {
        TRecordData copy = record;  // an id listed twice is shown twice
        place(copy, byId[k].second);
      } else {
        place(record, byId[k].second);
      }
    }
    return true;
  };
  if (store.ReadsIdLists() && !byId.empty()) {
    std::vector<int> distinct;
    distinct.reserve(byId.size());
    for (const auto& [id, position] : byId)
      if (distinct.empty() || distinct.back() != id) distinct.push_back(id);
    read = store.ReadCaseList(distinct, merge);
  } else if (WorthScanning(byId)) {
    read = store.ReadCaseRange(byId.front().first, byId.back().first, merge);
  } else {
    for (std::size_t i = 0; i < ids.size() && !stop.stop_requested() && read; ++i) {
      TRecordData record;
      if (store.ReadCase(ids[i], record)) {
        place(record, i);
      } else {
        read = store.ReadError().empty();  // no such case is no failure
        ++handled;
      }
    }
  }
  const std::string readError = store.ReadError();
  store.EndReading();
  if (!read) {
    result.error = readError;
    return result;
  }
  if (stop.stop_requested()) {
    result.cancelled = true;
    return result;
  }

  result.items.reserve(ids.size());
  for (auto& slot : slots) {
    if (slot) result.items.push_back(std::move(*slot));
  }
  SortCaseItems(result.items, order);
  std::map<std::string, int, std::less<>> counts;
  for (const TCusTreeItem& item : result.items) ++counts[item.className];
  for (const std::string& name : categories) {
    if (const auto it = counts.find(name); it != counts.end() && it->second > 0) {
      result.listedCategories.push_back(name);
      it->second = 0;  // a name listed twice shows once
    }
  }
  return result;
}

std::vector<CaseCategoryGroup> GroupByCategory(const CaseLoadResult& result) {
  std::vector<CaseCategoryGroup> groups;
  std::map<std::string, std::size_t, std::less<>> index;
  for (const std::string& name : result.listedCategories) {
    index.emplace(name, groups.size());
    groups.push_back({name, {}});
  }
  for (std::size_t i = 0; i < result.items.size(); ++i) {
    const std::string& name = result.items[i].className;
    auto it = index.find(name);
    if (it == index.end()) {
      it = index.emplace(name, groups.size()).first;
      groups.push_back({name, {}});
    }
    groups[it->second].items.push_back(static_cast<int>(i));
  }
  return groups;
}

CaseLoadingPass::~CaseLoadingPass() {
  RequestStop();
  Wait();
}

bool CaseLoadingPass::Start(CaseReaderOpener open, std::vector<int> ids, CaseOrder order, Finished finished,
                            LoadProgress progress) {
  if (running_.exchange(true)) return false;
  if (worker_.joinable()) worker_.join();  // the previous pass has finished; release its thread
  worker_ = std::jthread([this, open = std::move(open), ids = std::move(ids), order, finished = std::move(finished),
                          progress = std::move(progress)](std::stop_token stop) {
    CaseLoadResult result;
    if (const std::unique_ptr<CaseReader> reader = open(result.error)) result = LoadCaseItems(*reader, ids, order, stop, progress);
    if (finished) finished(std::move(result));
    running_ = false;
  });
  return true;
}

void CaseLoadingPass::RequestStop() { worker_.request_stop(); }

void CaseLoadingPass::Wait() {
  if (worker_.joinable()) worker_.join();
}

}  // namespace quorin::cases

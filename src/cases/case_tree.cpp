#include "cases/case_tree.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>

#include "base/gbk.h"
#include "base/utf8.h"
#include "cases/case_text.h"

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
  std::snprintf(moment, sizeof moment, "%04d-%02d-%02d %02d:%02d ", HistoricalYear(r.year), r.month, r.day, r.hour,
                r.minute);
  return text + moment;
}

int SurnamePosition(std::string_view character) {
  if (character.empty()) return 0;
  int position = 1;
  for (std::size_t pos = 0; pos < kSurnameOrder.size(); ++position) {
    const std::size_t start = pos;
    base::NextCodePoint(kSurnameOrder, pos);
    if (kSurnameOrder.substr(start, pos - start) == character) return position;
  }
  return 0;
}

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
  return initial * 1000 + SurnamePosition(first);
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

void SortCaseItems(std::vector<TCusTreeItem>& items, CaseOrder order) {
  using Item = TCusTreeItem;
  switch (order) {
    case CaseOrder::kNone:
      return;
    case CaseOrder::kTimeDescending:
      std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return a.timeKey != b.timeKey ? a.timeKey > b.timeKey : a.surnameKey < b.surnameKey;
      });
      return;
    case CaseOrder::kTimeAscending:
      std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return a.timeKey != b.timeKey ? a.timeKey < b.timeKey : a.surnameKey < b.surnameKey;
      });
      return;
    case CaseOrder::kSurnameAscending:
      std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return a.surnameKey != b.surnameKey ? a.surnameKey < b.surnameKey : a.timeKey > b.timeKey;
      });
      return;
    case CaseOrder::kSurnameDescending:
      std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return a.surnameKey != b.surnameKey ? a.surnameKey > b.surnameKey : a.timeKey > b.timeKey;
      });
      return;
  }
}

std::vector<int> NewestCaseIds(int counter, int limit) {
  std::vector<int> ids;
  for (int id = counter; id > 0 && static_cast<int>(ids.size()) < limit; --id) ids.push_back(id);
  return ids;
}

CaseLoadResult LoadCaseItems(MRecordBase& store, const std::vector<int>& ids, CaseOrder order, std::stop_token stop,
                             const LoadProgress& progress) {
  CaseLoadResult result;
  std::vector<std::string> categories;
  store.GetClassNames(categories);
  std::vector<int> counts(categories.size(), 0);
  std::map<std::string, std::size_t, std::less<>> categoryIndex;
  for (std::size_t i = 0; i < categories.size(); ++i) categoryIndex.emplace(categories[i], i);

  if (!store.BeginBatch()) {
    result.error = store.lastError();
    return result;
  }
  calendar::MYiDateEx date;
  ImCode imCode;
  const int total = static_cast<int>(ids.size());
  result.items.reserve(ids.size());
  for (int done = 0; done < total; ++done) {
    if (stop.stop_requested()) {
      result.cancelled = true;
      break;
    }
    if (progress && done % 50 == 0) progress(done, total);
    TRecordData record;
    if (!store.ReadInBatch(ids[done], record)) continue;
    TCusTreeItem item;
    if (order != CaseOrder::kNone) {
      const auto timeKey = TimeKey(date, record);
      if (!timeKey) continue;  // a lunar date that does not exist has no place in an order
      item.timeKey = *timeKey;
      item.surnameKey = SurnameKey(imCode, record.name);
    }
    item.id = record.id;
    item.text = CaseNodeText(record);
    item.male = record.male;
    if (const auto it = categoryIndex.find(record.className); it != categoryIndex.end()) ++counts[it->second];
    item.className = std::move(record.className);
    result.items.push_back(std::move(item));
  }
  store.EndBatch();
  SortCaseItems(result.items, order);
  for (std::size_t i = 0; i < categories.size(); ++i) {
    if (counts[i] > 0) result.listedCategories.push_back(categories[i]);
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

bool CaseLoadingPass::Start(std::string databasePath, std::vector<int> ids, CaseOrder order, Finished finished,
                            LoadProgress progress) {
  if (running_.exchange(true)) return false;
  if (worker_.joinable()) worker_.join();  // the previous pass has finished; release its thread
  worker_ = std::jthread([this, path = std::move(databasePath), ids = std::move(ids), order,
                          finished = std::move(finished), progress = std::move(progress)](std::stop_token stop) {
    MRecordBase store;
    CaseLoadResult result;
    if (store.Open(path) != 0) {
      result.error = store.lastError();
    } else {
      result = LoadCaseItems(store, ids, order, stop, progress);
    }
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

#include "capture/reanalysis.h"

#include <functional>
#include <vector>

#include "address/address_tools.h"
#include "fetch/page_fetcher.h"
#include "links/link_extractor.h"
#include "platform/text.h"
#include "store/batch_download.h"

namespace qz {
namespace {

struct PhaseTexts {
  const char* heading;
  const char* countMiddle;
  const char* nestedMessages[kNestedPasses];
  const char* closing;
};

constexpr PhaseTexts kStylesheetTexts{
    "正在重分析CSS文件",
    " 个CSS文件需要被分析",
    {"发现了CSS中嵌套的CSS文件,重分析中", "第二次发现了CSS中嵌套的CSS文件,重分析中",
     "第三次发现了CSS中嵌套的CSS文件,重分析中"},
    "CSS文件分析完成"};

constexpr PhaseTexts kScriptTexts{
    "正在重分析JS文件",
    " 个JS文件需要被分析",
    {"发现了JS中嵌套的JS文件,重分析中", "第二次发现了JS中嵌套的JS文件,重分析中",
     "第三次发现了JS中嵌套的JS文件,重分析中"},
    "JS文件分析完成"};

using AnalyseOne = std::function<void(const std::string& address)>;

// Analyses the first `count` entries; entries the analyses append stay for the next pass.
// The list may grow while it is walked, so entries are copied out by index.
void analyseFront(std::vector<std::string>& list, std::size_t count, StoreContext& context,
                  const AnalyseOne& analyse) {
  for (std::size_t i = 0; i < count && !context.stopRequested(); ++i) {
    const std::string address = list[i];
    analyse(address);
  }
}

void runPhase(std::vector<std::string>& list, const PhaseTexts& texts, StoreContext& context,
              const AnalyseOne& analyse) {
  context.log.add(texts.heading, LogColour::Red);
  context.log.add(std::string("一共有 ") + std::to_string(list.size()) + texts.countMiddle,
                  LogColour::Black);
  for (const std::string& address : list) context.log.add(address, LogColour::Grey);

  std::size_t passCount = list.size();
  analyseFront(list, passCount, context, analyse);
  for (const char* message : texts.nestedMessages) {
    if (list.size() <= passCount || context.stopRequested()) break;
    list.erase(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(passCount));
    context.log.add(message, LogColour::Red);
    passCount = list.size();
    analyseFront(list, passCount, context, analyse);
  }
  context.log.add(texts.closing, LogColour::Grey);
}

std::string fetchText(StoreContext& context, const std::string& address) {
  context.log.add("正在分析 " + address, LogColour::Grey);
  // A failed fetch is the empty text here: nothing is found and nothing else is reported.
  return textUpToZero(context.fetcher.fetch(address).body);
}

void analyseStylesheet(StoreContext& context, const std::string& address) {
  const std::string text = fetchText(context, address);
  std::string stylesheetAddress = address;
  const std::string base = directoryOf(stylesheetAddress);
  ResourceList list;
  LinkExtractor::extract(text, kBracketPattern, 1, list);
  downloadBatch(context, list, base);
  LinkExtractor::extract(text, kAttributePattern, 2, list);
  downloadBatch(context, list, base);
}

void analyseScript(StoreContext& context, const std::string& address, const std::string& base) {
  const std::string text = replaceText(fetchText(context, address), "\\", "");
  ResourceList list;
  LinkExtractor::extract(text, kAttributePattern, 2, list, "\\", "'", "\"");
  downloadBatch(context, list, base);
}

}  // namespace

void reanalyseStylesheets(StoreContext& context) {
  runPhase(context.tally.stylesheetList, kStylesheetTexts, context,
           [&](const std::string& address) { analyseStylesheet(context, address); });
}

void reanalyseScripts(StoreContext& context, const std::string& workingAddress) {
  std::string page = workingAddress;
  const std::string base = directoryOf(page);
  runPhase(context.tally.scriptList, kScriptTexts, context,
           [&](const std::string& address) { analyseScript(context, address, base); });
}

}  // namespace qz

// Fuzzes the row texts built from a card's file names, sizes and times: any name gives one of the four event
// types, any size one whole number and one digit, any time and zone offset (or name) a date of eight characters
// or none; any path pairs with its partner both ways.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

#include "core/player/RecordingNames.h"
#include "core/player/RecordingRules.h"
#include "core/text/Utf.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const auto bytes = input.ConsumeIntegral<std::uint64_t>();
  const auto seconds = input.ConsumeIntegral<std::int64_t>();
  const auto offset = input.ConsumeIntegral<std::int32_t>();
  const std::string name = input.ConsumeRemainingBytesAsString();

  vx::HasRecordingExtension(name);
  const std::u16string_view event = vx::EventTypeOf(vx::Utf8ToUtf16(name));
  if (event != u"Event" && event != u"Drive" && event != u"Parking" && event != u"None") std::abort();

  const std::u16string sizeText = vx::SizeText(bytes);
  if (sizeText.size() < 3 || sizeText[sizeText.size() - 2] != u'.') std::abort();

  // Real zones lie within a day of UTC; the rule must hold for any offset all the same.
  const std::u16string date = vx::DateText(seconds, offset);
  if (!date.empty() && (date.size() != 8 || date[2] != u'.' || date[5] != u'.')) std::abort();

  const std::u16string nameDate = vx::NameDateText(vx::Utf8ToUtf16(name));
  if (!nameDate.empty() && (nameDate.size() != 8 || nameDate[2] != u'.' || nameDate[5] != u'.')) std::abort();

  vx::IsListedRecording(name);
  const std::u16string_view anyEvent = vx::RecordingEventOf(name);
  if (!anyEvent.empty() && anyEvent != u"Event" && anyEvent != u"Drive" && anyEvent != u"Parking") std::abort();
  const std::u16string anyDate = vx::RecordingNameDate(name);
  if (!anyDate.empty() && (anyDate.size() != 8 || anyDate[2] != u'.' || anyDate[5] != u'.')) std::abort();

  // With every partner there, the file is one side of its pair, and its partner names the same pair.
  const auto everyFile = [](const std::string&) { return true; };
  const vx::RecordingPair pair = vx::PairOf(name, everyFile);
  if (pair.partnerPath.empty()) {
    if (pair.rowPath != name) std::abort();
  } else {
    const std::string& other = pair.rowPath == name ? pair.partnerPath : pair.rowPath;
    if (pair.rowPath != name && pair.partnerPath != name) std::abort();
    const vx::RecordingPair back = vx::PairOf(other, everyFile);
    if (back.rowPath != pair.rowPath || back.partnerPath != pair.partnerPath) std::abort();
  }
  return 0;
}

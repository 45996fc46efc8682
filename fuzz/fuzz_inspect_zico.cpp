// The .zico reader of tessel-cli inspect over arbitrary bytes: every icon
// that reads as sound decodes to the size its record gives.
#include <set>

#include "FuzzSupport.h"
#include "icon/Zico.h"

using namespace tessel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::setUpQt();
  const WorkLimits work;
  const ZicoReading r = ReadZico(fuzz::view(data, size), true, work);
  TESSEL_FUZZ_CHECK(r.empty == (size == 0));
  std::set<int> ids;
  for (const ZicoIcon& icon : r.icons) {
    if (!icon.error.empty()) continue;
    TESSEL_FUZZ_CHECK(ids.insert(icon.record.id).second);  // a sound id is not repeated
    TESSEL_FUZZ_CHECK(icon.image.width() == icon.record.width &&
                      icon.image.height() == icon.record.height);
  }
  if (r.ok() && !r.empty) TESSEL_FUZZ_CHECK(!r.icons.empty());
  return 0;
}

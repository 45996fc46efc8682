// The text readers of tessel-cli inspect: the first byte picks config.txt
// (0), truefont.ini (1), the font's name table (2) or the run record (3).
#include "FuzzSupport.h"
#include "config/ConfigRead.h"
#include "font/FontRead.h"
#include "model/RunRecord.h"

using namespace tessel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const ByteView text = fuzz::view(data + 1, size - 1);
  switch (data[0] % 4) {
    case 0: {
      const ConfigReading r = ReadConfigText(text);
      for (const RegisterLine& line : r.registers) {
        TESSEL_FUZZ_CHECK(line.name.size() >= 2 && line.name[0] == 'R');
      }
      TESSEL_FUZZ_CHECK(!r.parameters.empty());
      break;
    }
    case 1: {
      const TruefontIni r = ReadTruefontIni(text);
      // A font it names lies beside it.
      TESSEL_FUZZ_CHECK(r.font.find_first_of("/\\:") == std::string::npos);
      TESSEL_FUZZ_CHECK(r.font != ".." && r.font != ".");
      break;
    }
    case 3: {
      // A record read back is written again as the same record.
      std::string error;
      const std::optional<RunRecord> record = ParseRunRecord(text, error);
      TESSEL_FUZZ_CHECK(record ? error.empty() : !error.empty());
      if (record) {
        const Bytes again = RunRecordJson(*record);
        const std::optional<RunRecord> reread = ParseRunRecord(ByteView(again), error);
        TESSEL_FUZZ_CHECK(reread && reread->outputs.size() == record->outputs.size());
        for (const auto& [name, output] : record->outputs) {
          const RecordOutput* same = reread->find(name);
          TESSEL_FUZZ_CHECK(same && same->sources.size() == output.sources.size() &&
                            same->rotation == output.rotation && same->size == output.size);
        }
      }
      break;
    }
    default: {
      std::string error;
      const std::optional<std::string> name = ReadFontName(text, error);
      TESSEL_FUZZ_CHECK(name ? !name->empty() : !error.empty());
      break;
    }
  }
  return 0;
}

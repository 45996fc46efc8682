#pragma once
// Reading config.txt back, strictly: the registers a run wrote (or copied)
// and the device parameters they set. A fault comes back as one sentence
// without the file name.
#include <cstdint>
#include <string>
#include <vector>

#include "model/SetupValues.h"
#include "util/Bytes.h"

namespace tessel {

struct RegisterLine {
  int line = 0;               // 1-based
  std::string name;           // "R1", "RC0", ... upper case, as written
  std::uint32_t value = 0;
  std::string text;           // the whole line, for the page
};

// One device parameter as the parameter dialog labels it.
struct Parameter {
  std::string label;    // the dialog's label
  std::string name;     // the --set name
  std::string value;    // as --set writes it
};

struct ConfigReading {
  std::vector<RegisterLine> registers;
  std::vector<std::string> errors;  // faults: lines that look like registers but do not parse
  std::vector<std::string> notes;   // what a device may not expect, but Tessel can write
  SetupValues values;               // decoded from R1, R2, R3 and RC0
  bool hasR3 = false;
  std::vector<Parameter> parameters;  // the values, in the dialog's order
};

// The registers of config.txt ("Rn=HH; comment" lines, CR LF or LF) and the
// device parameters they set.
ConfigReading ReadConfigText(ByteView text);

// The dialog's names and values for these parameters; with `hasR3` false
// those R3 sets (half of the rotation, the delayed refresh) are left out.
std::vector<Parameter> DescribeParameters(const SetupValues& values, bool hasR3);

}  // namespace tessel

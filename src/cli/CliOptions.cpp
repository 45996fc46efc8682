#include "cli/CliOptions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <thread>

#include "util/Paths.h"

namespace tessel::cli {

namespace {

template <std::size_t N>
bool pickIndex(const std::string& value, const std::array<const char*, N>& names, int& out) {
  for (std::size_t i = 0; i < N; ++i) {
    if (value == names[i]) {
      out = static_cast<int>(i);
      return true;
    }
  }
  return false;
}

template <std::size_t N>
std::string joinNames(const std::array<const char*, N>& names) {
  std::string s;
  for (const char* n : names) s += (s.empty() ? "" : "|") + std::string(n);
  return s;
}

constexpr std::array<const char*, 5> kRotations = {"auto", "none", "90", "180", "270"};
constexpr std::array<const char*, 3> kFormats = {"jpeg", "jpeg-hq", "zbmp"};
constexpr std::array<const char*, 5> kFonts = {"ascii", "cjk", "segment", "segment-bold",
                                               "segment-italic"};
constexpr std::array<const char*, 2> kFontDisplays = {"vector", "bitmap"};

}  // namespace

std::string UsageText() {
  return "usage: tessel-cli convert SOURCE [options]\n"
         "\n"
         "Converts a DWIN project folder (DWIN_SET) into the KOVA_TFT SD-card layout.\n"
         "\n"
         "options:\n"
         "  -o, --output DIR        output root (default: Documents/TESSEL); the run writes\n"
         "                          DIR/private/ and the marker file in DIR\n"
         "  --rotation auto|none|90|180|270   picture rotation (default auto)\n"
         "  --format jpeg|jpeg-hq|zbmp        picture format (default zbmp)\n"
         "  --font ascii|cjk|segment|segment-bold|segment-italic   (default cjk)\n"
         "  --font-display vector|bitmap      (default vector)\n"
         "  --deripple              dither pictures to RGB565 before encoding\n"
         "  --pack                  write the pictures as bin/image.idx + bin/image.bin\n"
         "  --resources DIR         folder with the TrueType files and pinyin.bin\n"
         "  -y, --yes               accept the device parameters as read\n"
         "  --set NAME=VALUE        correct one device parameter (repeatable):\n"
         "                          baud=RATE touch-file=on|off coordinate-notify=0|1\n"
         "                          touch-file-notify=0|1 long-press=on|off touch-beep=0|1|2\n"
         "                          screen-rotation=0|90|180|270 restore-text-background=on|off\n"
         "                          delayed-refresh=on|off\n"
         "  --open                  open the output folder at the end\n"
         "  -j, --jobs N            worker threads (default: the number of cores)\n"
         "  -q, --quiet             print errors only\n"
         "  -h, --help              show this text\n"
         "  --version               show the version\n"
         "\n"
         "exit status: 0 done, 1 refused, 2 usage error, 3 parameters not confirmed,\n"
         "4 some output could not be written\n";
}

bool ParseArguments(const std::vector<std::string>& args, CliOptions& o, std::string& error) {
  o.run.jobs = std::max(1u, std::thread::hardware_concurrency());
  std::vector<std::string> positional;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    std::string inlineValue;
    bool hasInline = false;
    if (arg.rfind("--", 0) == 0) {
      const auto eq = arg.find('=');
      if (eq != std::string::npos) {
        inlineValue = arg.substr(eq + 1);
        arg = arg.substr(0, eq);
        hasInline = true;
      }
    }
    auto value = [&](std::string& out) {
      if (hasInline) {
        out = inlineValue;
        return true;
      }
      if (i + 1 >= args.size()) {
        error = "option " + arg + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    auto flag = [&]() {
      if (hasInline) error = "option " + arg + " takes no value";
      return !hasInline;
    };
    std::string v;

    if (arg == "-h" || arg == "--help") {
      o.help = true;
    } else if (arg == "--version") {
      o.version = true;
    } else if (arg == "-o" || arg == "--output") {
      if (!value(v)) return false;
      if (v.empty()) {
        error = "--output needs a folder";
        return false;
      }
      o.run.outputRoot = pathFromUtf8(v);
    } else if (arg == "--rotation" || arg == "--format" || arg == "--font" ||
               arg == "--font-display") {
      if (!value(v)) return false;
      bool ok = false;
      std::string names;
      if (arg == "--rotation") {
        ok = pickIndex(v, kRotations, o.settings.rotationChoice);
        names = joinNames(kRotations);
      } else if (arg == "--format") {
        ok = pickIndex(v, kFormats, o.settings.pictureFormat);
        names = joinNames(kFormats);
      } else if (arg == "--font") {
        ok = pickIndex(v, kFonts, o.settings.fontChoice);
        names = joinNames(kFonts);
      } else {
        ok = pickIndex(v, kFontDisplays, o.settings.fontDisplay);
        names = joinNames(kFontDisplays);
      }
      if (!ok) {
        error = arg + " takes " + names + ", not '" + v + "'";
        return false;
      }
    } else if (arg == "--deripple") {
      if (!flag()) return false;
      o.settings.deRipple = 1;
    } else if (arg == "--pack") {
      if (!flag()) return false;
      o.settings.singlePictureFiles = 0;
    } else if (arg == "--resources") {
      if (!value(v)) return false;
      o.run.resourceFolder = pathFromUtf8(v);
    } else if (arg == "-y" || arg == "--yes") {
      if (!flag()) return false;
      o.yes = true;
    } else if (arg == "--set") {
      if (!value(v)) return false;
      o.overrides.push_back(v);
    } else if (arg == "--open") {
      if (!flag()) return false;
      o.open = true;
    } else if (arg == "-q" || arg == "--quiet") {
      if (!flag()) return false;
      o.quiet = true;
    } else if (arg == "-j" || arg == "--jobs") {
      if (!value(v)) return false;
      int n = 0;
      const auto [ptr, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
      if (ec != std::errc() || ptr != v.data() + v.size() || n < 1 || n > 256) {
        error = "--jobs takes a number from 1 to 256, not '" + v + "'";
        return false;
      }
      o.run.jobs = n;
    } else if (arg.size() > 1 && arg[0] == '-') {
      error = "unknown option " + arg;
      return false;
    } else {
      positional.push_back(args[i]);
    }
  }
  if (o.help || o.version) return true;
  if (positional.empty() || positional[0] != "convert") {
    error = positional.empty() ? "missing command: convert"
                               : "unknown command '" + positional[0] + "' (the command is convert)";
    return false;
  }
  if (positional.size() != 2) {
    error = positional.size() < 2 ? "convert needs the SOURCE folder" : "too many arguments";
    return false;
  }
  o.settings.sourceFolder = pathFromUtf8(positional[1]);
  return true;
}

}  // namespace tessel::cli

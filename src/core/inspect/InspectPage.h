#pragma once
// The inspection as one page: index.html with every screen picture, every
// icon library, the pack, the device parameters, the font and, at the top,
// every problem found. The pictures go beside it as PNG files, turned as the
// display shows them; each lossy screen beside its source when the source is
// at hand. The page loads nothing from elsewhere and runs no script.
#include <filesystem>
#include <functional>
#include <string>

#include "inspect/Inspection.h"

namespace tessel::inspect {

// The folder beside index.html that holds the PNG files.
inline constexpr const char* kPageImageFolder = "index_files";

// Inspects the output at `outputPath` (an output root or a private folder)
// and writes `pageFolder`/index.html and its PNG files. Refuses a page
// folder inside the private folder (it would be copied to the SD card).
// `inspection` (when given) receives what was found; `jobs` as for
// InspectOutput. False, with the reason in `error`, when the page could not
// be written: problems of the output are on the page, not failures.
bool WriteInspectPage(const std::filesystem::path& outputPath,
                      const std::filesystem::path& pageFolder, Inspection* inspection,
                      std::string* error, int jobs = 0);
// Hears, from worker threads, the count of screen pictures drawn and the
// count of picture files in image/ (0 for a pack).
using PageProgress = std::function<void(int done, int total)>;

// The same with the display's rotation or the source folder given, and the
// progress told to `progress` (when given).
bool WriteInspectPage(const std::filesystem::path& outputPath,
                      const std::filesystem::path& pageFolder, const InspectOptions& options,
                      Inspection* inspection, std::string* error,
                      const PageProgress& progress = {});

// The dialog's preview: the page of the output root `outputRoot` in
// outputRoot/preview/ (beside private/, never inside it), its path in `page`.
bool WritePreview(const std::filesystem::path& outputRoot, std::filesystem::path* page,
                  std::string* error, const PageProgress& progress = {});

}  // namespace tessel::inspect

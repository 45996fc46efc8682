#pragma once
// Getting written data onto its device: the files and the folders that name
// them, so that a card pulled after the copy holds what was written.
#include <filesystem>
#include <string>

namespace tessel {

// Flushes a written file to its device and lets the system forget its cached
// pages, so that a later read comes from the device. False with the system's
// reason when the file cannot be opened or flushed.
bool syncFile(const std::filesystem::path& path, std::string* reason = nullptr);

// Flushes a folder's entries (the names of new and renamed files) to its
// device. Where the system offers no such call it does nothing and succeeds.
bool syncFolder(const std::filesystem::path& folder, std::string* reason = nullptr);

}  // namespace tessel

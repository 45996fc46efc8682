#pragma once
// Paths: conversion between Qt strings and std::filesystem, the program and
// Documents folders, and the deletion of the output's private folder.
#include <QString>
#include <filesystem>
#include <string>

namespace tessel {

namespace fs = std::filesystem;

QString toQString(const fs::path& path);
fs::path toPath(const QString& text);
fs::path pathFromUtf8(const std::string& text);
std::string pathToUtf8(const fs::path& path);

// The user's Documents folder (created when missing). Falls back to the home
// folder when the platform names none; empty when there is neither.
fs::path documentsFolder();

// The folder of the running program. Set once by the front end from
// QCoreApplication or argv[0]; empty until then.
fs::path programFolder();
void setProgramFolder(const fs::path& folder);

// The folder holding the TrueType files and pinyin.bin: the program folder
// when it holds them, else the installed data folder.
fs::path resourceFolder();

// Removes `folder` with everything inside it. Links inside are removed as
// links: nothing outside the folder is followed or touched. Returns true when
// the folder existed and is gone now; false when it did not exist or could
// not be removed completely.
bool deleteFolderTree(const fs::path& folder);

// True when `inner` is `outer` or lies inside it (both made canonical as far
// as they exist).
bool pathIsInside(const fs::path& inner, const fs::path& outer);

// Lower-cases ASCII A-Z only, as the scan's rules do.
std::string asciiLower(std::string text);

// The leading decimal number of a file name without folder and extension:
// optional white space, an optional sign, then digits; 0 when there are none.
long long leadingNumber(const std::string& stem);

}  // namespace tessel

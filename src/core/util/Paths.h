#pragma once
// Paths: conversion between Qt strings and std::filesystem, the program and
// Documents folders, and the deletion of the output's private folder.
#include <QString>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tessel {

namespace fs = std::filesystem;

// A path and its text. On Windows the text is the path's UTF-16 name; on other
// systems a name is bytes, and a byte that is not UTF-8 (a GBK name from a
// Windows archive, say) travels as a lone surrogate U+DC80..U+DCFF, so that
// ToPath(ToQString(p)) == p for every p.
QString ToQString(const fs::path& path);
fs::path ToPath(const QString& text);
fs::path PathFromUtf8(const std::string& text);
std::string PathToUtf8(const fs::path& path);

// The user's Documents folder (created when missing). Falls back to the home
// folder when the platform names none; empty when there is neither.
fs::path DocumentsFolder();

// The folder of the running program. Set once by the front end from
// QCoreApplication or argv[0]; empty until then.
fs::path ProgramFolder();
void SetProgramFolder(const fs::path& folder);

// The folders where the programs look for their resources, in this order:
// the program folder (a build tree), share/tessel beside the program's
// folder (../share/tessel: any install prefix, an unpacked package,
// ~/.local) and the data folder configured at build time. Empty entries and
// repeats are left out; the folders need not exist.
std::vector<fs::path> ResourceSearchFolders();

// The first search folder holding `name` as a file (the help documents);
// empty when none does.
fs::path FindResourceFile(const fs::path& name);

// The first search folder's translations/ that exists (the *.qm files);
// empty when there is none.
fs::path TranslationsFolder();

// The name of the font table: an installed Tessel uses the system's font
// files and names them there, one "NAME=FILE" a line (a relative FILE lies
// beside the table; an empty FILE is a font the build did not find).
inline constexpr const char* kFontTableFile = "fonts.txt";

// The folder holding the TrueType files (or the font table) and pinyin.bin:
// the first search folder that holds them, else the program folder.
fs::path ResourceFolder();

// The file a run uses for the resource `name` of `folder`: folder/name when
// it exists, else the file the folder's font table names for it, else
// folder/name (which does not exist; the caller says so).
fs::path ResourceFile(const fs::path& folder, const std::string& name);

// Removes `folder` with everything inside it. Links inside are removed as
// links: nothing outside the folder is followed or touched. Returns true when
// the folder existed and is gone now; false when it did not exist or could
// not be removed completely (then `left` names an entry that is still there
// and `reason` gives the system's reason).
bool DeleteFolderTree(const fs::path& folder, fs::path* left = nullptr,
                      std::string* reason = nullptr);

// Why `path` cannot be reached, in the system's words (a link loop, a name
// longer than the system allows, a folder that may not be entered); empty
// when it can be (it need not exist).
std::string PathProblem(const fs::path& path);

// True when `inner` is `outer` or lies inside it: by their names made
// canonical as far as they exist, or by the identity (device and inode) of
// `inner` and each folder above it.
bool PathIsInside(const fs::path& inner, const fs::path& outer);

// True when both name the same existing file or folder.
bool SameFile(const fs::path& a, const fs::path& b);

// True when `tree` or a folder inside it (links not followed) is `target` or
// a folder above it, by identity: a bind mount of the target inside the tree.
bool FolderTreeHolds(const fs::path& tree, const fs::path& target);

// The text as one printable line: control characters (a line feed in a file
// name, say) become \n, \t or \xNN, so that a name can neither break a
// line nor forge one; bytes that are not UTF-8 become U+FFFD.
std::string Printable(std::string_view text);

// Lower-cases ASCII A-Z only, as the scan's rules do.
std::string AsciiLower(std::string text);

// The leading decimal number of a file name without folder and extension:
// optional white space, an optional sign, then digits; 0 when there are none.
long long LeadingNumber(const std::string& stem);

}  // namespace tessel

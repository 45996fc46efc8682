#pragma once
// A source folder, an output root and a resource folder for whole runs.
#include <gtest/gtest.h>

#include "convert/ConversionRun.h"
#include "support/TestSupport.h"

namespace tessel::test {

struct RunFixture : ::testing::Test {
  TempDir dir;
  fs::path source = dir / "project";
  fs::path output = dir / "out";
  fs::path resources = dir / "res";
  fs::path priv = output / "private";
  ConversionSettings settings;
  RunOptions options;
  Session session;
  RecordingHost host;

  void SetUp() override;
  RunResult run();
  // Lists private/ relative to itself.
  std::vector<std::string> tree() const { return listTree(priv); }
  bool has(const std::string& relative) const;
  // A small Branch A source: the two tables and one picture (1.bmp).
  void writeBranchA();
  // tessel-cli convert of the source with the fixture's resources, quiet,
  // for runShell (which calls tessel-cli as "$T").
  std::string cliCommand() const;
  // The report's record of the input of this file name, or nothing.
  static const InputRecord* input(const RunResult& r, const std::string& name);
};

// A Branch A source with everything a project holds: the three tables, a
// sound, a block file, an ICL library (40.icl) and a raw one (41.ico),
// `noisePictures` BMPs of noise (0.bmp, 1.bmp, ...) and 20.jpg. With a T5LC1
// block file, library 40 is the picture library: its icons become the
// screen pictures and the picture files are left alone; without the marker
// the picture files are converted.
void fillProject(const fs::path& source, int noisePictures, bool t5lc1);

// A picture of random pixels: it hardly compresses.
QImage noise(int width, int height, unsigned seed);

// The zbmp header's width and height.
std::pair<int, int> zbmpSize(const fs::path& file);

}  // namespace tessel::test

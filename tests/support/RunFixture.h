#pragma once
// A source folder, an output root and a resource folder for whole runs.
#include <gtest/gtest.h>

#include "convert/ConversionRun.h"
#include "support/TestSupport.h"

namespace tessel::test {

struct RunFixture : ::testing::Test {
  TempDir dir;
  fs::path source = dir / "DWIN_SET";
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
};

// The zbmp header's width and height.
std::pair<int, int> zbmpSize(const fs::path& file);

}  // namespace tessel::test

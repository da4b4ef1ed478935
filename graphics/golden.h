// Golden pictures: a surface written as PNG and compared byte for byte with
// testdata/AREA/NAME.png (AREA "graphics" unless a caller names its own
// folder). With ZANBEL_UPDATE_GOLDEN=1 the expected file is written instead.
// A mismatch leaves the picture that was made beside the test program
// (NAME.actual.png) so that a person can look at both.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "export/resfile.h"
#include "graphics/png.h"

namespace gfxtest {

inline ::testing::AssertionResult matchesGolden(const std::string& name, const CWReadOnlyUnpackedSprite& surface,
                                                const cColourTable& colours, const std::string& area = "graphics") {
  const std::string expectedPath = std::string(ZANBEL_TESTDATA_DIR) + "/" + area + "/" + name + ".png";
  const std::vector<uint8_t> actual = encodePng(surface, colours);
  const char* update = std::getenv("ZANBEL_UPDATE_GOLDEN");
  std::string error;
  if (update && std::string(update) == "1") {
    if (!saveFileBytes(expectedPath, actual, error)) return ::testing::AssertionFailure() << error;
    return ::testing::AssertionSuccess();
  }
  std::vector<uint8_t> expected;
  if (!loadFileBytes(expectedPath, expected, error))
    return ::testing::AssertionFailure() << "no golden picture " << expectedPath
                                         << " (run with ZANBEL_UPDATE_GOLDEN=1 to make it)";
  if (expected == actual) return ::testing::AssertionSuccess();
  const std::string actualPath = name + ".actual.png";
  saveFileBytes(actualPath, actual, error);
  return ::testing::AssertionFailure() << name << " differs from " << expectedPath << "; made: " << actualPath;
}

}  // namespace gfxtest

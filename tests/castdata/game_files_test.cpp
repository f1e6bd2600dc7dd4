#include "game_files.h"

#include <gtest/gtest.h>

#include "game_file_writer.h"
#include "temporary_folder.h"

namespace {

TEST(GameFiles, VersionCheckNeedsAFileNamedOrvTxt) {
  gamefixture::TemporaryFolder missing;
  EXPECT_FALSE(castdata::VersionFileExists(missing.path()));

  gamefixture::TemporaryFolder present;
  gamefixture::WriteVersionFile(present.path());
  EXPECT_TRUE(castdata::VersionFileExists(present.path()));

  gamefixture::TemporaryFolder folderOfThatName;
  std::filesystem::create_directory(folderOfThatName.path() / "orv.txt");
  EXPECT_FALSE(castdata::VersionFileExists(folderOfThatName.path()));
}

}  // namespace

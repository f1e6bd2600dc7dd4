#include "scrambled_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "error.h"
#include "game_file_writer.h"
#include "game_files.h"
#include "library_scrambler.h"
#include "packed_format.h"
#include "progress_data.h"
#include "progress_file_fixture.h"
#include "temporary_folder.h"
#include "weapon_catalogue.h"
#include "weapon_catalogue_fixture.h"
#include "whole_file.h"

namespace {

using gamefixture::FixtureWeapon;
using gamefixture::Scrambling;

std::vector<std::uint8_t> OnDisk(const std::filesystem::path& path) {
  return wholefile::Read(path).value();
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(ScrambledFile, InPlaceReadGivesThePlainBytesAndLeavesTheFilePacked) {
  for (const Scrambling stored : {Scrambling::kPacked, Scrambling::kPlain}) {
    gamefixture::TemporaryFolder folder;
    const std::vector<FixtureWeapon> weapons = {FixtureWeapon(2, 3).WithAvailability(1)};
    gamefixture::WriteProgressFile(folder.path(), weapons, 77, stored);
    const auto path = folder.path() / castdata::kProgressFilePath;

    const auto bytes =
        castdata::ReadGameFileInPlace(path, gamefixture::LibraryScramblerFunctions());

    EXPECT_EQ(bytes, gamefixture::ProgressFileBytes(weapons, 77));
    const auto after = OnDisk(path);
    ASSERT_TRUE(scrambler::IsPacked(after));
    EXPECT_EQ(scrambler::Unpack(after), bytes);
  }
}

// Stand-ins that record the packing and fail in the ways a real reading can.
struct RecordingScrambler {
  std::vector<std::string> packed;
  castdata::ScramblerFunctions Functions(std::function<std::int32_t(const char*)> unpack) {
    return {.filePack = [this](const char* path) {
              packed.emplace_back(path);
              return gamefixture::LibraryScramblerFunctions().filePack(path);
            },
            .fileUnpack = std::move(unpack)};
  }
};

TEST(ScrambledFile, TheFileIsPackedAgainWhenTheReadingFails) {
  gamefixture::TemporaryFolder folder;
  const auto path = folder.path() / castdata::kProgressFilePath;
  gamefixture::WriteProgressFile(folder.path(), {}, 1, Scrambling::kPacked);
  const std::string name = path.string();

  RecordingScrambler unreadable;
  const auto unpackThenVanish = [&name](const char* p) {
    const std::int32_t result = gamefixture::LibraryScramblerFunctions().fileUnpack(p);
    std::filesystem::rename(name, name + ".away");
    return result;
  };
  try {
    castdata::ReadGameFileInPlace(path, unreadable.Functions(unpackThenVanish));
    ADD_FAILURE() << "no error";
  } catch (const castdata::Error& error) {
    EXPECT_TRUE(Contains(error.what(), "「" + name + "」を読み込めません")) << error.what();
  }
  EXPECT_EQ(unreadable.packed, std::vector<std::string>{name});

  std::filesystem::rename(name + ".away", name);
  RecordingScrambler throwing;
  const auto unpackThenThrow = [](const char* p) -> std::int32_t {
    gamefixture::LibraryScramblerFunctions().fileUnpack(p);
    throw castdata::Error("the library failed");
  };
  EXPECT_THROW(castdata::ReadGameFileInPlace(path, throwing.Functions(unpackThenThrow)),
               castdata::Error);
  EXPECT_EQ(throwing.packed, std::vector<std::string>{name});
  EXPECT_TRUE(scrambler::IsPacked(OnDisk(path)));
}

TEST(ScrambledFile, APackingThatFailsAfterASuccessfulReadingIsNotSilent) {
  gamefixture::TemporaryFolder folder;
  gamefixture::WriteProgressFile(folder.path(), {}, 1, Scrambling::kPacked);
  castdata::ScramblerFunctions functions = gamefixture::LibraryScramblerFunctions();
  functions.filePack = [](const char*) -> std::int32_t {
    throw castdata::Error("「dat/libOrvDll.so」にFilePackがありません");
  };
  EXPECT_THROW(castdata::ReadGameFileInPlace(folder.path() / castdata::kProgressFilePath, functions),
               castdata::Error);
}

TEST(ScrambledFile, ACatalogueThatOverflowsIsPackedAgainAndTheErrorNamesIt) {
  gamefixture::TemporaryFolder folder;
  gamefixture::WriteWeaponCatalogue(folder.path(), {FixtureWeapon(0, 1).WithNameLength(32767)});
  const auto path = folder.path() / castdata::kWeaponCataloguePath;
  castdata::ProgressData progress;
  castdata::WeaponCatalogue catalogue;
  try {
    const auto bytes = castdata::ReadGameFileInPlace(path, gamefixture::LibraryScramblerFunctions());
    castdata::ReadWeaponCatalogue(bytes, path.string(), false, progress, catalogue);
    ADD_FAILURE() << "no error";
  } catch (const castdata::Error& error) {
    EXPECT_TRUE(Contains(error.what(), "「" + path.string() + "」")) << error.what();
    EXPECT_TRUE(Contains(error.what(), "32767")) << error.what();
  }
  EXPECT_TRUE(scrambler::IsPacked(OnDisk(path)));
}

TEST(ScrambledFile, MissingFunctionsAreAnErrorNotACrash) {
  gamefixture::TemporaryFolder folder;
  EXPECT_THROW(castdata::ReadGameFileInPlace(folder.path() / "x", {}), castdata::Error);
}

TEST(ScrambledFile, InMemoryReadNeverWritesTheFile) {
  for (const Scrambling stored : {Scrambling::kPacked, Scrambling::kPlain}) {
    gamefixture::TemporaryFolder folder;
    gamefixture::WriteProgressFile(folder.path(), {FixtureWeapon(0, 1)}, 5, stored);
    const auto path = folder.path() / castdata::kProgressFilePath;
    const auto before = OnDisk(path);
    const auto modified = std::filesystem::last_write_time(path);

    EXPECT_EQ(castdata::ReadGameFileInMemory(path),
              gamefixture::ProgressFileBytes({FixtureWeapon(0, 1)}, 5));
    EXPECT_EQ(OnDisk(path), before);
    EXPECT_EQ(std::filesystem::last_write_time(path), modified);
  }
}

TEST(ScrambledFile, AFileThatCannotBeReadIsAnErrorNamingItAndTheReason) {
  gamefixture::TemporaryFolder folder;
  const auto missing = folder.path() / "missing.DAT";
  const auto aFolder = folder.path() / "DAT";
  std::filesystem::create_directory(aFolder);
  const std::vector<std::pair<std::filesystem::path, std::string>> cases = {
      {missing, "ファイルが見つかりません"},
      {aFolder, "ファイルではなくフォルダです"},
  };
  for (const auto& [path, reason] : cases) {
    try {
      castdata::ReadGameFileInMemory(path);
      ADD_FAILURE() << path << ": no error";
    } catch (const castdata::Error& error) {
      EXPECT_EQ(std::string(error.what()), "「" + path.string() + "」を読み込めません: " + reason);
    }
  }
}

}  // namespace

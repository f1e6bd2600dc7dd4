#include "scrambled_file.h"

#include <sys/stat.h>

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
            .fileUnpack = std::move(unpack),
            .load = {}};
  }
};

// The editor's reading writes a game file only when unpacking it and packing
// it again would leave other bytes: never for a file packed as the game and
// FilePack pack it, once (FilePack alone) for a plain file.
TEST(ScrambledFile, TheEditorsReadingWritesOnlyWhatUnpackingAndPackingWouldChange) {
  const std::vector<std::uint8_t> plain = gamefixture::ProgressFileBytes({FixtureWeapon(2, 3).WithAvailability(1)}, 77);
  std::vector<std::uint8_t> strangeBase = scrambler::Pack(plain, 1);
  strangeBase[2] = 0x0B;  // base 8, which FilePack never draws
  const std::vector<std::uint8_t> looksPacked = {0x83, 0x16, 0x04, 0x3D, 'x', 'y'};
  const struct {
    const char* what;
    std::vector<std::uint8_t> stored;
    int unpacks;
    int packs;
    bool rewritten;
  } cases[] = {
      {"packed with base 1", scrambler::Pack(plain, 1), 0, 0, false},
      {"packed with base 3", scrambler::Pack(plain, 3), 0, 0, false},
      {"packed with base 5", scrambler::Pack(plain, 5), 0, 0, false},
      {"packed, empty", scrambler::Pack({}, 2), 0, 0, false},
      {"plain", plain, 0, 1, true},
      {"packed with a base FilePack never draws", strangeBase, 1, 1, true},
      {"packed around a plain form that looks packed", scrambler::Pack(looksPacked, 2), 1, 1, true},
  };
  for (const auto& c : cases) {
    gamefixture::TemporaryFolder folder;
    const auto path = folder.path() / "USER.DAT";
    ASSERT_TRUE(wholefile::Replace(path, c.stored));
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    int unpacks = 0;
    int packs = 0;
    int loads = 0;
    const castdata::ScramblerFunctions library = gamefixture::LibraryScramblerFunctions();
    const castdata::ScramblerFunctions counting{
        .filePack =
            [&](const char* p) {
              ++packs;
              return library.filePack(p);
            },
        .fileUnpack =
            [&](const char* p) {
              ++unpacks;
              return library.fileUnpack(p);
            },
        .load = [&] { ++loads; }};

    const std::vector<std::uint8_t> read = castdata::ReadGameFile(path, counting);

    EXPECT_EQ(read, scrambler::IsPacked(c.stored) ? scrambler::Unpack(c.stored) : c.stored) << c.what;
    EXPECT_EQ(loads, 1) << c.what;
    EXPECT_EQ(unpacks, c.unpacks) << c.what;
    EXPECT_EQ(packs, c.packs) << c.what;
    struct stat after {};
    ASSERT_EQ(::stat(path.c_str(), &after), 0);
    if (!c.rewritten) {
      // A rewrite renames a new file into place.
      EXPECT_EQ(after.st_ino, before.st_ino) << c.what;
      EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec) << c.what;
      EXPECT_EQ(OnDisk(path), c.stored) << c.what;
    } else {
      EXPECT_NE(OnDisk(path), c.stored) << c.what;
      EXPECT_TRUE(scrambler::IsPacked(OnDisk(path))) << c.what;
    }
  }
}

TEST(ScrambledFile, TheEditorsReadingTellsAMissingLibraryEvenWhenNothingIsToBeWritten) {
  const std::vector<std::uint8_t> plain = gamefixture::ProgressFileBytes({}, 5);
  for (const auto& stored : {scrambler::Pack(plain, 2), plain}) {
    gamefixture::TemporaryFolder folder;
    const auto path = folder.path() / "USER.DAT";
    ASSERT_TRUE(wholefile::Replace(path, stored));
    castdata::ScramblerFunctions missing = gamefixture::LibraryScramblerFunctions();
    missing.load = [] { throw castdata::Error("ファイルが見つかりません: dat/libOrvDll.so"); };
    EXPECT_THROW(castdata::ReadGameFile(path, missing), castdata::Error);
    EXPECT_EQ(OnDisk(path), stored);
  }
}

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

// A crash at any moment of the writes that change a player's files: packing
// a game file (FilePack), a start-up (its package scan and its reading of the
// game files), saving a cast (WriteCastFiles) and importing a cast package
// (ImportCastPackage). Each write runs in a child process that
// is killed before each of its system calls in turn. After every kill each
// file holds its old contents or its new ones, whatever is left over is a
// temporary file no later start takes for a cast or a package, and a later
// start (the package scan, the cast list, the game files) works as ever; an
// import cut short is finished by the next start.

#include <sys/syscall.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <ostream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "cast_folder.h"
#include "cast_picture_fixture.h"
#include "cast_save.h"
#include "crash_states.h"
#include "demo_game.h"
#include "folder_snapshot.h"
#include "library_scrambler.h"
#include "orvdll.h"
#include "package_fixture.h"
#include "package_import.h"
#include "package_scan.h"
#include "scrambled_file.h"
#include "temporary_folder.h"
#include "traced_child.h"

namespace {

namespace fs = std::filesystem;
using gamefixture::FolderTree;
using gamefixture::SnapshotFolder;

castdata::CastRecord NewRecord() {
  castdata::CastRecord record;
  record.weaponIndex = {3, 2, 1, 0, 0, 0};
  record.paramPoints = {40, 20, 20, 20};
  record.keepDistance = 500;
  record.ownerNumber = gamefixture::kDemoPlayerNumber;
  record.level = 7;
  return record;
}

const castdata::CastProfile kNewProfile{"新型", "一行目", "二行目", "三行目", "作者", "new@example.jp"};

void Save(const fs::path& game, const char* name) {
  castdata::WriteCastFiles(name, NewRecord(), kNewProfile, game);
}

void Import(const fs::path& game, const char* package) {
  const castdata::PackageImportOutcome outcome = castdata::ImportCastPackage(game / package, game);
  if (!outcome.imported) throw std::runtime_error(outcome.message);
}

// The writes of the editor's start-up: the package scan and the reading of
// the two game files through the scrambling library.
void StartUp(const fs::path& game) {
  castdata::ScanCastPackages(game, [](const castdata::PackageImportOutcome& outcome) {
    if (!outcome.imported) throw std::runtime_error(outcome.message);
  });
  const castdata::ScramblerFunctions library = gamefixture::LibraryScramblerFunctions();
  castdata::ReadGameFile(game / "DAT/USER.DAT", library);
  castdata::ReadGameFile(game / "DAT/Orv_bwpn.DAT", library);
}

// A package of the cast `name`, unlike every cast of the demo game.
void PutPackage(const fs::path& game, const char* file, const char* name) {
  gamefixture::PackageFields fields;
  fields.nameField = name;
  fields.picture = gamefixture::MakeCastPicture(99);
  fields.castData = std::vector<std::uint8_t>(186, 0x2A);
  const std::string profile = "[Data]\r\nName=imported\r\n";
  fields.castProfile.assign(profile.begin(), profile.end());
  gamefixture::WritePackageFile(game / file, fields);
}

struct WriteCase {
  const char* id;
  void (*arrange)(const fs::path& game);  // on the demo game after its first start
  void (*write)(const fs::path& game);    // what the child does
  std::size_t renamed;                    // files the write renames into place
};

const WriteCase kWrites[] = {
    // The start-up packs each game file again after reading it unpacked.
    {"PackTheUnpackedProgressFile",
     [](const fs::path& game) { ASSERT_EQ(FileUnpack((game / "DAT/USER.DAT").c_str()), 1); },
     [](const fs::path& game) {
       if (FilePack((game / "DAT/USER.DAT").c_str()) != 1) throw std::runtime_error("FilePack gave 0");
     },
     1},
    // Everything a start-up writes: it imports a package, then reads the two
    // game files. Packed as the game leaves them, they are read without a
    // write; lying plain (as an earlier editor killed between its unpacking
    // and its packing could leave them), each is packed.
    {"StartUpWithAPackage", [](const fs::path& game) { PutPackage(game, "kaede.ec", "KAEDE"); }, StartUp, 3},
    {"StartUpWithAPackageAndPlainGameFiles",
     [](const fs::path& game) {
       PutPackage(game, "kaede.ec", "KAEDE");
       ASSERT_EQ(FileUnpack((game / "DAT/USER.DAT").c_str()), 1);
       ASSERT_EQ(FileUnpack((game / "DAT/Orv_bwpn.DAT").c_str()), 1);
     },
     StartUp, 5},
    {"SaveOverTheOwnCast", [](const fs::path&) {}, [](const fs::path& game) { Save(game, "HAYATE"); }, 2},
    {"SaveANewCast", [](const fs::path&) {}, [](const fs::path& game) { Save(game, "KAEDE"); }, 2},
    {"ImportANewCast", [](const fs::path& game) { PutPackage(game, "kaede.ec", "KAEDE"); },
     [](const fs::path& game) { Import(game, "kaede.ec"); }, 3},
    {"ImportOverAnExistingCast", [](const fs::path& game) { PutPackage(game, "shiden.ec", "SHIDEN"); },
     [](const fs::path& game) { Import(game, "shiden.ec"); }, 3},
};

void PrintTo(const WriteCase& c, std::ostream* out) { *out << c.id; }

bool IsRename(long call) {
  return
#ifdef SYS_rename
      call == SYS_rename ||
#endif
      call == SYS_renameat || call == SYS_renameat2;
}

std::set<std::string> CastSet(const fs::path& game) {
  const std::vector<std::string> names = castdata::ListCasts(game);
  return {names.begin(), names.end()};
}

void CopyGame(const fs::path& from, const fs::path& to) { fs::copy(from, to, fs::copy_options::recursive); }

class WriteCrash : public testing::TestWithParam<WriteCase> {};

TEST_P(WriteCrash, AKillAtAnySystemCallLosesNothing) {
  const WriteCase& c = GetParam();
  const auto write = c.write;

  gamefixture::TemporaryFolder pristine;
  gamefixture::MakeDemoGame(pristine.path());
  castdata::ScanCastPackages(pristine.path(), [](const castdata::PackageImportOutcome&) {});
  c.arrange(pristine.path());
  const FolderTree before = SnapshotFolder(pristine.path());
  const std::set<std::string> castsBefore = CastSet(pristine.path());
  const auto progress = castdata::ReadGameFileInMemory(pristine.path() / "DAT/USER.DAT");

  gamefixture::TemporaryFolder finished;
  CopyGame(pristine.path(), finished.path());
  const crashtest::TracedRun whole = crashtest::RunTraced([&] { write(finished.path()); }, std::nullopt);
  ASSERT_EQ(whole.exitCode, 0) << "the write fails even without a kill";
  const FolderTree after = SnapshotFolder(finished.path());
  ASSERT_NE(after, before);
  for (const auto& [path, entry] : after) {
    ASSERT_FALSE(fs::path(path).filename().string().starts_with(".")) << "the whole write left " << path;
  }
  const std::set<std::string> castsAfter = CastSet(finished.path());
  // An import deletes its package last, so a start after any kill finishes it.
  const bool deletesAPackage = std::any_of(before.begin(), before.end(), [&](const auto& entry) {
    return entry.first.ends_with(".ec") && !after.contains(entry.first);
  });

  std::map<long, std::size_t> killsBefore;  // kills by the system call they came before
  std::size_t leftoverKills = 0;
  for (std::size_t k = 0; k < whole.systemCalls; ++k) {
    gamefixture::TemporaryFolder game;
    CopyGame(pristine.path(), game.path());
    const crashtest::TracedRun run = crashtest::RunTraced([&] { write(game.path()); }, k);
    const std::string at = "killed before system call " + std::to_string(k) + " (SYS " +
                           std::to_string(run.killedBefore) + ")";
    if (!run.killed) {
      ADD_FAILURE() << "call " << k << " was not reached";
      continue;
    }
    ++killsBefore[run.killedBefore];

    const FolderTree now = SnapshotFolder(game.path());
    for (const std::string& problem : crashtest::CrashStateProblems(before, after, now)) {
      ADD_FAILURE() << at << ": " << problem;
    }
    if (!crashtest::Leftovers(before, after, now).empty()) ++leftoverKills;

    // The next start: it imports what is still there, lists the casts and
    // reads the game files.
    castdata::ScanCastPackages(game.path(), [&](const castdata::PackageImportOutcome& outcome) {
      EXPECT_TRUE(outcome.imported) << at << ": " << outcome.packageFile << ": " << outcome.message;
      EXPECT_TRUE(before.contains(outcome.packageFile)) << at << ": took " << outcome.packageFile << " for a package";
    });
    const std::set<std::string> casts = CastSet(game.path());
    EXPECT_TRUE(casts == castsBefore || casts == castsAfter) << at;
    EXPECT_EQ(castdata::ReadGameFileInMemory(game.path() / "DAT/USER.DAT"), progress) << at;
    const FolderTree restarted = SnapshotFolder(game.path());
    for (const std::string& problem : crashtest::CrashStateProblems(before, after, restarted)) {
      ADD_FAILURE() << at << ", then started again: " << problem;
    }
    if (deletesAPackage) {
      // The game files it reads plain are packed by its own reading, which
      // draws a rotation base of its own; the import is judged by the cast.
      for (const auto& [path, entry] : after) {
        if (!path.starts_with("cast/")) continue;
        EXPECT_TRUE(restarted.contains(path) && restarted.at(path) == entry)
            << at << ": the next start did not finish the import of " << path;
      }
      for (const auto& [path, entry] : before) {
        if (after.contains(path)) continue;
        EXPECT_FALSE(restarted.contains(path)) << at << ": the next start left " << path;
      }
    }
  }

  std::size_t renames = 0;
  for (const auto& [call, count] : killsBefore) {
    if (IsRename(call)) renames += count;
  }
  EXPECT_EQ(renames, c.renamed) << "kills just before a rename";
  EXPECT_GE(killsBefore[SYS_fsync], c.renamed) << "kills just before a flush";
  EXPECT_GE(killsBefore[SYS_write], c.renamed) << "kills just before a write";
  std::printf("%s: %zu kill points (%zu before a rename, %zu before an fsync), %zu left a temporary file\n", c.id,
              whole.systemCalls, renames, killsBefore[SYS_fsync], leftoverKills);
}

INSTANTIATE_TEST_SUITE_P(Writes, WriteCrash, testing::ValuesIn(kWrites),
                         [](const testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.id); });

}  // namespace

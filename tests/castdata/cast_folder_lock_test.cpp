// Every writer of a cast's files holds the lock of the cast folder: while
// another program holds it, each says which program that is and writes
// nothing; once it is let go, each writes as ever and leaves no lock file.
#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>

#include "cast_data_file.h"
#include "cast_folder.h"
#include "cast_picture_fixture.h"
#include "cast_profile.h"
#include "cast_save.h"
#include "error.h"
#include "fixture_files.h"
#include "folder_lock.h"
#include "folder_snapshot.h"
#include "lock_held_elsewhere.h"
#include "package_fixture.h"
#include "package_import.h"
#include "package_scan.h"
#include "temporary_folder.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const castdata::CastProfile kProfile{"疾風", "一行目", "", "三行目", "作者", "a@example.jp"};

// The writers, each on the game folder; each throws castdata::Error or gives
// back the text it reports ("" for success).
struct Writer {
  const char* what;
  std::function<std::string(const fs::path& game)> write;
};

void PrintTo(const Writer& writer, std::ostream* out) { *out << writer.what; }

std::string Thrown(const std::function<void()>& write) {
  try {
    write();
    return "";
  } catch (const castdata::Error& error) {
    return error.what();
  }
}

std::string Reported(const castdata::PackageImportOutcome& outcome) { return outcome.imported ? "" : outcome.message; }

const Writer kWriters[] = {
    {"an import",
     [](const fs::path& game) { return Reported(castdata::ImportCastPackage(game / "new.ec", game)); }},
    {"the package scan",
     [](const fs::path& game) {
       std::string reported;
       castdata::ScanCastPackages(game, [&](const castdata::PackageImportOutcome& outcome) {
         reported += Reported(outcome);
       });
       return reported;
     }},
    {"a save", [](const fs::path& game) {
       return Thrown([&] { castdata::WriteCastFiles("OLD", castdata::CastRecord{}, kProfile, game); });
     }},
    {"the data file alone",
     [](const fs::path& game) { return Thrown([&] { castdata::WriteCastData("OLD", castdata::CastRecord{}, game); }); }},
    {"the profile file alone",
     [](const fs::path& game) { return Thrown([&] { castdata::WriteCastProfile("OLD", kProfile, game); }); }},
    {"the picture copied from the default picture",
     [](const fs::path& game) { return Thrown([&] { castdata::EnsureCastPicture("OLD", game); }); }},
    {"a picture written", [](const fs::path& game) {
       return Thrown([&] { castdata::WriteCastPicture("OLD", gamefixture::MakeCastPicture(5), game); });
     }},
};

class CastFolderLock : public testing::TestWithParam<Writer> {
 protected:
  void SetUp() override {
    gamefixture::WriteBytes(game() / "cast/def.bmp", gamefixture::AsText(gamefixture::MakeCastPicture(1)));
    gamefixture::WriteBytes(game() / "cast/OLD.dat", std::string(186, '\x01'));
    gamefixture::WriteBytes(game() / "cast/OLD.cst", "[Data]\r\nName=old\r\n");
    gamefixture::PackageFields fields;
    fields.nameField = "NEW";
    gamefixture::WritePackageFile(game() / "new.ec", fields);
  }
  const fs::path& game() const { return game_.path(); }

 private:
  gamefixture::TemporaryFolder game_;
};

TEST_P(CastFolderLock, AWriterWaitsForTheLockAndWritesNothingWithoutIt) {
  const Writer& writer = GetParam();
  const gamefixture::FolderTree before = gamefixture::SnapshotFolder(game());
  const std::chrono::milliseconds patience = platform::LockPatience();
  platform::SetLockPatience(0ms);
  std::string refused;
  {
    const gamefixture::LockHeldElsewhere held(game() / "cast");
    refused = writer.write(game());
    gamefixture::FolderTree now = gamefixture::SnapshotFolder(game());
    now.erase("cast/.lock");
    EXPECT_EQ(now, before);
  }
  platform::SetLockPatience(patience);
  EXPECT_NE(refused.find("別のプログラム" + gamefixture::ThisProgramAsHolder() + "が書き込み中"), std::string::npos)
      << refused;
  EXPECT_NE(refused.find("cast/.lock"), std::string::npos) << refused;

  EXPECT_EQ(writer.write(game()), "");
  const gamefixture::FolderTree after = gamefixture::SnapshotFolder(game());
  EXPECT_NE(after, before);
  EXPECT_FALSE(after.contains("cast/.lock"));
}

INSTANTIATE_TEST_SUITE_P(Writers, CastFolderLock, testing::ValuesIn(kWriters),
                         [](const testing::TestParamInfo<Writer>& info) {
                           std::string name;
                           for (const char c : std::string(info.param.what)) {
                             if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                           }
                           return name;
                         });

}  // namespace

// import: the package import, with its messages; a package is deleted only
// when its cast was imported.
#include <gtest/gtest.h>

#include <cstdio>
#include <future>

#include "casttool_game.h"
#include "fixture_files.h"
#include "folder_snapshot.h"
#include "lock_held_elsewhere.h"
#include "package_fixture.h"

namespace casttooltest {
namespace {

using gamefixture::PackageFields;

class ImportCommand : public CastToolGame {};

TEST_F(ImportCommand, ImportedPackagesGoRefusedOnesStay) {
  struct Case {
    std::string what;
    std::function<void(PackageFields&)> change;
    bool imported;
    std::string message;  // the start of the line after "foo.ec: "
  } cases[] = {
      {"a package", [](PackageFields&) {}, true, "ECファイルを展開しました"},
      {"a lower-case marker", [](PackageFields& p) { p.marker = "ce1"; }, false, "ECファイルではありません"},
      {"a cut-off package", [](PackageFields& p) { p.cutTo = 100; }, false, "foo.ecは壊れたECファイルです"},
      {"a name leaving the cast folder", [](PackageFields& p) { p.nameField = "../x"; }, false,
       "foo.ecは壊れたECファイルです"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(game() / "cast");
    std::filesystem::create_directory(game() / "cast");
    PackageFields fields;
    c.change(fields);
    gamefixture::WritePackageFile(game() / "foo.ec", fields);
    const ProgramResult result = Run({"import", "foo.ec"});
    EXPECT_EQ(result.exitStatus, c.imported ? 0 : 1) << c.what;
    // An import is a result; a refusal is one error line.
    const std::string& shown = c.imported ? result.out : result.err;
    EXPECT_EQ(c.imported ? result.err : result.out, "") << c.what;
    const std::vector<std::string> lines = Lines(shown);
    ASSERT_EQ(lines.size(), 1u) << c.what << shown;
    const std::string prefix = c.imported ? "foo.ec: " : "casttool: foo.ec: ";
    EXPECT_EQ(lines[0].rfind(prefix + c.message, 0), 0u) << lines[0];
    EXPECT_EQ(std::filesystem::exists(game() / "foo.ec"), !c.imported) << c.what;
    EXPECT_EQ(std::filesystem::exists(game() / "cast/ABC.dat"), c.imported) << c.what;
  }
}

TEST_F(ImportCommand, TheCastFilesAreThePackagesParts) {
  PackageFields fields;
  fields.nameField = "NEW";
  fields.castProfile = {'[', 'D', 'a', 't', 'a', ']', '\r', '\n', 'N', 'a', 'm', 'e', '=', 'n', '\r', '\n'};
  gamefixture::WritePackageFile(game() / "pkg.ec", fields);
  ASSERT_EQ(Run({"import", "pkg.ec"}).exitStatus, 0);
  EXPECT_EQ(gamefixture::ReadBytes(game() / "cast/NEW.bmp"), gamefixture::AsText(fields.picture));
  EXPECT_EQ(gamefixture::ReadBytes(game() / "cast/NEW.dat"), gamefixture::AsText(fields.castData));
  EXPECT_EQ(gamefixture::ReadBytes(game() / "cast/NEW.cst"), gamefixture::AsText(fields.castProfile));
}

TEST_F(ImportCommand, SeveralPackagesEachWithItsMessagesAndTheWorstStatus) {
  PackageFields one;
  one.nameField = "ONE";
  PackageFields bad;
  bad.marker = "XYZ";
  gamefixture::WritePackageFile(game() / "one.ec", one);
  gamefixture::WritePackageFile(game() / "bad.ec", bad);
  const ProgramResult result = Run({"import", "one.ec", "missing.ec", "bad.ec"});
  EXPECT_EQ(result.exitStatus, 2) << "a file that cannot be read outweighs a refused one";
  EXPECT_EQ(Lines(result.out), (std::vector<std::string>{"one.ec: ECファイルを展開しました"}));
  const std::vector<std::string> errors = Lines(result.err);
  ASSERT_EQ(errors.size(), 2u) << result.err;
  EXPECT_EQ(errors[0].rfind("casttool: ", 0), 0u) << errors[0];
  EXPECT_NE(errors[0].find("missing.ec"), std::string::npos) << errors[0];
  EXPECT_EQ(errors[1], "casttool: bad.ec: ECファイルではありません");
  EXPECT_TRUE(std::filesystem::exists(game() / "cast/ONE.cst"));
  EXPECT_TRUE(std::filesystem::exists(game() / "bad.ec"));
}

// Two imports at once of two packages of one cast take turns under the cast
// folder's lock: in every trial both succeed and the cast ends whole from
// one package or the other, never mixed.
TEST_F(ImportCommand, TwoImportsAtOnceLeaveTheCastWholeFromOneOfThem) {
  constexpr int kTrials = 200;
  const auto package = [](std::uint8_t mark) {
    PackageFields fields;
    fields.nameField = "DUO";
    fields.picture = gamefixture::MakeCastPicture(mark);
    fields.castData = std::vector<std::uint8_t>(186, mark);
    fields.castProfile = std::vector<std::uint8_t>(40, mark);
    return fields;
  };
  const PackageFields first = package(1);
  const PackageFields second = package(2);
  const auto holds = [&](const PackageFields& fields) {
    return gamefixture::ReadBytes(game() / "cast/DUO.bmp") == gamefixture::AsText(fields.picture) &&
           gamefixture::ReadBytes(game() / "cast/DUO.dat") == gamefixture::AsText(fields.castData) &&
           gamefixture::ReadBytes(game() / "cast/DUO.cst") == gamefixture::AsText(fields.castProfile);
  };
  int mixed = 0;
  int firstWon = 0;
  for (int trial = 0; trial < kTrials; ++trial) {
    gamefixture::WritePackageFile(game() / "first.ec", first);
    gamefixture::WritePackageFile(game() / "second.ec", second);
    auto one = std::async(std::launch::async, [&] { return Run({"import", "first.ec"}); });
    auto other = std::async(std::launch::async, [&] { return Run({"import", "second.ec"}); });
    const ProgramResult a = one.get();
    const ProgramResult b = other.get();
    ASSERT_EQ(a.exitStatus, 0) << "trial " << trial << ": " << a.out << a.err;
    ASSERT_EQ(b.exitStatus, 0) << "trial " << trial << ": " << b.out << b.err;
    const bool fromFirst = holds(first);
    if (!fromFirst && !holds(second)) ++mixed;
    firstWon += fromFirst;
  }
  EXPECT_EQ(mixed, 0) << "of " << kTrials << " trials";
  std::printf("%d trials of two imports at once: %d mixed, %d ended with the first package, %d with the second\n",
              kTrials, mixed, firstWon, kTrials - mixed - firstWon);
}

// While another program holds the cast folder's lock, an import says which
// program that is, writes nothing, and keeps its package.
TEST_F(ImportCommand, AnImportWhileAnotherProgramWritesTheCastsSaysWhichAndKeepsThePackage) {
  std::filesystem::create_directories(game() / "cast");
  gamefixture::WritePackageFile(game() / "foo.ec", PackageFields{});
  const gamefixture::FolderTree before = gamefixture::SnapshotFolder(game());
  ProgramResult result;
  {
    const gamefixture::LockHeldElsewhere held(game() / "cast");
    result = Run({"import", "foo.ec"});
  }
  EXPECT_EQ(result.exitStatus, 1);
  EXPECT_EQ(result.out, "");
  // The refusal and its reason, on one line of standard error.
  ASSERT_EQ(Lines(result.err).size(), 1u) << result.err;
  EXPECT_EQ(result.err.rfind("casttool: foo.ec: foo.ecを展開できませんでした: ", 0), 0u) << result.err;
  EXPECT_NE(result.err.find("別のプログラム" + gamefixture::ThisProgramAsHolder() + "が書き込み中"), std::string::npos)
      << result.err;
  EXPECT_EQ(gamefixture::SnapshotFolder(game()), before);
}

}  // namespace
}  // namespace casttooltest

// export: the package of one cast, as the upload writes it.
#include <gtest/gtest.h>

#include "cast_package.h"
#include "casttool_game.h"
#include "fixture_files.h"
#include "folder_snapshot.h"

namespace casttooltest {
namespace {

class ExportCommand : public CastToolGame {};

TEST_F(ExportCommand, WritesThePackageOfTheCastsThreeFiles) {
  const FixtureCast cast = ValidCast();
  Write(cast);
  gamefixture::WriteBytes(game() / "out.ec", "an older file of another length");
  const ProgramResult result = Run({"export", "ABC", "out.ec", "--force"});
  ASSERT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.out, "out.ec: written\n");
  const std::string bytes = gamefixture::ReadBytes(game() / "out.ec");
  const castdata::PackageReading reading =
      castdata::ReadCastPackage(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  ASSERT_EQ(reading.status, castdata::PackageReading::Status::kRead) << reading.problem;
  EXPECT_EQ(reading.package.castName, "ABC");
  EXPECT_EQ(reading.package.picture, *cast.picture);
  EXPECT_EQ(reading.package.castData, gamefixture::CastDataBytes(cast.record));
  EXPECT_EQ(gamefixture::AsText(reading.package.castProfile), gamefixture::CastProfileBytes(cast.profile));
  EXPECT_EQ(bytes.size(), 5197 + 186 + gamefixture::CastProfileBytes(cast.profile).size());
}

TEST_F(ExportCommand, ACastThatMakesNoPackageLeavesTheOutputAsItWas) {
  struct Case {
    std::string what;
    std::function<void(FixtureCast&)> change;
    std::string name;
    int exitStatus;
    std::string named;  // in the one error line
  } cases[] = {
      {"a picture of another size", [](FixtureCast& c) { c.picture->push_back(0); }, "ABC", 1, "cast/ABC.bmp"},
      {"no picture", [](FixtureCast& c) { c.picture.reset(); }, "ABC", 2, "cast/ABC.bmp"},
      {"no such cast", [](FixtureCast&) {}, "NONE", 2, "cast/NONE.cst"},
  };
  for (const Case& c : cases) {
    FixtureCast cast = ValidCast();
    c.change(cast);
    std::filesystem::remove(game() / "cast/ABC.bmp");
    Write(cast);
    gamefixture::WriteBytes(game() / "out.ec", "old");
    const ProgramResult result = Run({"export", c.name, "out.ec"});
    EXPECT_EQ(result.exitStatus, c.exitStatus) << c.what;
    EXPECT_EQ(result.out, "") << c.what;
    ASSERT_EQ(Lines(result.err).size(), 1u) << result.err;
    EXPECT_NE(result.err.find(c.named), std::string::npos) << result.err;
    EXPECT_EQ(gamefixture::ReadBytes(game() / "out.ec"), "old") << c.what;
  }
}

TEST_F(ExportCommand, DashWritesThePackageToStandardOutput) {
  Write(ValidCast());
  ASSERT_EQ(Run({"export", "ABC", "abc.ec"}).exitStatus, 0);
  const ProgramResult result = Run({"export", "ABC", "-"});
  EXPECT_EQ(result.exitStatus, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, gamefixture::ReadBytes(game() / "abc.ec"));
  EXPECT_FALSE(std::filesystem::exists(game() / "-"));
}

// An existing file is replaced only when asked, and a cast's own file never:
// whatever its spelling, and through a symbolic or a hard link.
TEST_F(ExportCommand, RefusesToWriteOverAFileUnlessForcedAndNeverOverTheCastsOwnFiles) {
  Write(ValidCast());
  gamefixture::WriteBytes(game() / "old.ec", "old");
  std::filesystem::create_hard_link(game() / "cast/ABC.dat", game() / "hard.ec");
  std::filesystem::create_symlink("cast/ABC.bmp", game() / "link.ec");
  struct Case {
    std::vector<std::string> arguments;
    std::string castFile;  // the cast's own file OUT is; "" for another file
  } cases[] = {
      {{"old.ec"}, ""},
      {{"cast/ABC.cst", "--force"}, "cast/ABC.cst"},
      {{"CAST/abc.DAT", "--force"}, "cast/ABC.dat"},
      {{"hard.ec", "--force"}, "cast/ABC.dat"},
      {{"link.ec", "--force"}, "cast/ABC.bmp"},
  };
  const gamefixture::FolderTree before = gamefixture::SnapshotFolder(game());
  for (const Case& c : cases) {
    const std::string& out = c.arguments[0];
    std::vector<std::string> arguments = {"export", "ABC"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const ProgramResult result = Run(arguments);
    EXPECT_EQ(result.exitStatus, 1) << out;
    EXPECT_EQ(result.out, "") << out;
    const std::string reason =
        c.castFile.empty() ? "ファイルが既にあります(置き換えるには--forceを付けてください)"
                           : "キャストのファイル「" + game().generic_string() + "/" + c.castFile + "」そのものです";
    EXPECT_EQ(result.err, "casttool: 「" + out + "」に書き込めません: " + reason + "\n");
    EXPECT_TRUE(gamefixture::SnapshotFolder(game()) == before) << out;
  }
  const ProgramResult forced = Run({"export", "ABC", "old.ec", "--force"});
  EXPECT_EQ(forced.exitStatus, 0) << forced.err;
  EXPECT_EQ(forced.out, "old.ec: written\n");
  EXPECT_NE(gamefixture::ReadBytes(game() / "old.ec"), "old");
}

// A package holds 8 bytes of name: a longer name would come back from the
// import cut, as another cast.
TEST_F(ExportCommand, ANameLongerThanAPackageHoldsIsRefused) {
  struct Case {
    std::string name;
    bool exported;
  } cases[] = {
      {"ABCDEFGH", true},
      {"ABCDEFGHI", false},
      {"機体機体", true},     // 8 bytes in Shift-JIS
      {"機体機体機", false},  // 10
      {"ｱｲｳｴｵｶｷｸ", true},   // half-width katakana: one byte each
  };
  for (const Case& c : cases) {
    Write(ValidCast(c.name));
    const ProgramResult result = Run({"export", c.name, "out.ec", "--force"});
    EXPECT_EQ(result.exitStatus, c.exported ? 0 : 1) << c.name << result.err;
    if (c.exported) continue;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "casttool: ファイル名「" + c.name +
                              "」が長すぎるためECファイルにできません: 英数字8文字(全角文字は4文字)以内にしてください\n");
  }
}

TEST_F(ExportCommand, ExportThenImportGivesTheSameCast) {
  Write(ValidCast());
  ASSERT_EQ(Run({"export", "ABC", "abc.ec"}).exitStatus, 0);
  const std::string before = gamefixture::ReadBytes(game() / "cast/ABC.dat");
  std::filesystem::remove(game() / "cast/ABC.dat");
  ASSERT_EQ(Run({"import", "abc.ec"}).exitStatus, 0);
  EXPECT_EQ(gamefixture::ReadBytes(game() / "cast/ABC.dat"), before);
  EXPECT_FALSE(std::filesystem::exists(game() / "abc.ec"));
}

}  // namespace
}  // namespace casttooltest

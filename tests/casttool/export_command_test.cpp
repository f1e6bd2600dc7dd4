// export: the package of one cast, as the upload writes it.
#include <gtest/gtest.h>

#include "cast_package.h"
#include "casttool_game.h"
#include "fixture_files.h"

namespace casttooltest {
namespace {

class ExportCommand : public CastToolGame {};

TEST_F(ExportCommand, WritesThePackageOfTheCastsThreeFiles) {
  const FixtureCast cast = ValidCast();
  Write(cast);
  gamefixture::WriteBytes(game() / "out.ec", "an older file of another length");
  const ProgramResult result = Run({"export", "ABC", "out.ec"});
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

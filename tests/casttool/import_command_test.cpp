// import: the package import, with its messages; a package is deleted only
// when its cast was imported.
#include <gtest/gtest.h>

#include "casttool_game.h"
#include "fixture_files.h"
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

}  // namespace
}  // namespace casttooltest

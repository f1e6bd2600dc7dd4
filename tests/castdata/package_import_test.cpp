#include "package_import.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cast_picture_fixture.h"
#include "file_size_limit.h"
#include "package_fixture.h"
#include "package_scan.h"
#include "folder_snapshot.h"
#include "temporary_folder.h"
#include "whole_file.h"

namespace {

namespace fs = std::filesystem;
using gamefixture::PackageFields;

std::vector<std::uint8_t> Bytes(std::string_view text) { return {text.begin(), text.end()}; }

bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

class PackageImport : public testing::Test {
 protected:
  void SetUp() override { fs::create_directory(game_.path() / "cast"); }

  const fs::path& game() const { return game_.path(); }

  void Put(const std::string& file, const PackageFields& fields) {
    gamefixture::WritePackageFile(game() / file, fields);
  }

  castdata::PackageImportOutcome Import(const std::string& file) {
    return castdata::ImportCastPackage(game() / file, game());
  }

  std::vector<std::uint8_t> Read(const std::string& file) { return wholefile::Read(game() / file).value(); }

  void ExpectCast(const std::string& name, const PackageFields& fields) {
    EXPECT_EQ(Read("cast/" + name + ".bmp"), fields.picture);
    EXPECT_EQ(Read("cast/" + name + ".dat"), fields.castData);
    EXPECT_EQ(Read("cast/" + name + ".cst"), fields.castProfile);
  }

 private:
  gamefixture::TemporaryFolder game_;
};

TEST_F(PackageImport, UnpacksTheCastAndDeletesThePackage) {
  PackageFields fields;
  fields.nameField = "ABC";
  Put("foo.ec", fields);
  const auto outcome = Import("foo.ec");
  EXPECT_TRUE(outcome.imported);
  EXPECT_EQ(outcome.castName, "ABC");
  EXPECT_EQ(outcome.message, "ECファイルを展開しました");
  ExpectCast("ABC", fields);
  EXPECT_FALSE(fs::exists(game() / "foo.ec"));
  EXPECT_EQ(gamefixture::SnapshotFolder(game()).size(), 4u) << "cast/ and its three files, nothing else";
}

TEST_F(PackageImport, BytesAfterTheProfileFileMakeNoDifference) {
  PackageFields fields;
  fields.trailing = Bytes("CE1 and more bytes");
  Put("foo.ec", fields);
  EXPECT_TRUE(Import("foo.ec").imported);
  ExpectCast("ABC", fields);
}

TEST_F(PackageImport, AnyOtherMarkerIsNotAPackageAndStays) {
  for (const std::string marker : {"ce1", "CE2", "XYZ", "CE", ""}) {
    PackageFields fields;
    fields.marker = marker;
    if (marker.size() < 3) fields.cutTo = marker.size();  // files too short to hold a marker
    Put("x.ec", fields);
    const auto before = gamefixture::SnapshotFolder(game());
    const auto outcome = Import("x.ec");
    EXPECT_FALSE(outcome.imported);
    EXPECT_EQ(outcome.message, "ECファイルではありません") << marker;
    EXPECT_EQ(gamefixture::SnapshotFolder(game()), before) << marker;
  }
}

TEST_F(PackageImport, ReplacesAnExistingCastWholeWithoutAsking) {
  ASSERT_TRUE(wholefile::Replace(game() / "cast/ABC.bmp", std::vector<std::uint8_t>(6000, 0xEE)));
  ASSERT_TRUE(wholefile::Replace(game() / "cast/ABC.dat", std::vector<std::uint8_t>(200, 0xEE)));
  ASSERT_TRUE(wholefile::Replace(game() / "cast/ABC.cst", std::vector<std::uint8_t>(500, 0xEE)));
  PackageFields fields;
  fields.picture = gamefixture::MakeCastPicture(3);
  Put("foo.ec", fields);
  EXPECT_TRUE(Import("foo.ec").imported);
  ExpectCast("ABC", fields);
  EXPECT_EQ(fs::file_size(game() / "cast/ABC.bmp"), 5174u);
}

TEST_F(PackageImport, BrokenOrHostilePackagesWriteNothingAndStay) {
  struct Case {
    const char* what;
    PackageFields fields;
  };
  const auto with = [](auto change) {
    PackageFields fields;
    change(fields);
    return fields;
  };
  const std::size_t fullLength = gamefixture::PackageBytes(PackageFields{}).size();
  const std::vector<Case> cases = {
      {"name ../x", with([](PackageFields& f) { f.nameField = "../x"; })},
      {"name a/b", with([](PackageFields& f) { f.nameField = "a/b"; })},
      {"name a\\b", with([](PackageFields& f) { f.nameField = "a\\b"; })},
      {"name ..", with([](PackageFields& f) { f.nameField = ".."; })},
      {"name holding NUL", with([](PackageFields& f) { f.nameField = std::string("A\0B", 3); })},
      {"name holding a line break", with([](PackageFields& f) { f.nameField = "A\nB"; })},
      {"n beyond a short name reaches the zero fill", with([](PackageFields& f) { f.nameLength = 8; })},
      {"name byte that is no character", with([](PackageFields& f) { f.nameField = "A\xA0"; })},
      {"character that code page 932 spells in two ways", with([](PackageFields& f) { f.nameField = "\xED\x40"; })},
      {"lead byte without its trail byte", with([](PackageFields& f) { f.nameField = "A\x81 B"; })},
      {"n = 0", with([](PackageFields& f) { f.nameLength = 0; })},
      {"n = -1", with([](PackageFields& f) { f.nameLength = 0xFFFFFFFF; })},
      {"n low 16 bits 0", with([](PackageFields& f) { f.nameLength = 0x10000; })},
      {"D = -1", with([](PackageFields& f) { f.dataLength = 0xFFFF; })},
      {"D = 0", with([](PackageFields& f) { f.dataLength = 0; })},
      {"D beyond the file", with([](PackageFields& f) { f.dataLength = 1000; })},
      {"C = -32768", with([](PackageFields& f) { f.profileLength = 0x8000; })},
      {"C = 0", with([](PackageFields& f) { f.profileLength = 0; })},
      {"cut in the name field", with([](PackageFields& f) { f.cutTo = 10; })},
      {"cut in the picture", with([](PackageFields& f) { f.cutTo = 15 + 5000; })},
      {"cut in the data file", with([](PackageFields& f) { f.cutTo = 5193 + 100; })},
      {"profile file one byte short", with([&](PackageFields& f) { f.cutTo = fullLength - 1; })},
      // cast/def.bmp is the picture every new cast starts from.
      {"name def", with([](PackageFields& f) { f.nameField = "def"; })},
      {"name DeF", with([](PackageFields& f) { f.nameField = "DeF"; })},
  };
  // Old files where the hostile names point show that nothing is overwritten.
  ASSERT_TRUE(wholefile::Replace(game() / "cast/ABC.cst", Bytes("old")));
  ASSERT_TRUE(wholefile::Replace(game() / "x.bmp", Bytes("old")));
  ASSERT_TRUE(wholefile::Replace(game() / "cast/def.bmp", Bytes("old default picture")));
  for (const Case& c : cases) {
    Put("foo.ec", c.fields);
    const auto before = gamefixture::SnapshotFolder(game());
    const auto outcome = Import("foo.ec");
    EXPECT_FALSE(outcome.imported) << c.what;
    EXPECT_TRUE(StartsWith(outcome.message, "foo.ecは壊れたECファイルです\n")) << c.what << ": " << outcome.message;
    EXPECT_EQ(gamefixture::SnapshotFolder(game()), before) << c.what;
  }
}

TEST_F(PackageImport, AFailedWriteLeavesTheOldCastAndThePackage) {
  struct Case {
    const char* what;
    void (*arrange)(const fs::path& game);
    const char* namedFile;
  };
  const Case cases[] = {
      {"no cast folder", [](const fs::path& game) { fs::remove(game / "cast"); }, "cast/ABC.bmp"},
      {"a folder where the profile file goes",
       [](const fs::path& game) {
         ASSERT_TRUE(wholefile::Replace(game / "cast/ABC.bmp", Bytes("old picture")));
         ASSERT_TRUE(wholefile::Replace(game / "cast/ABC.dat", Bytes("old data")));
         fs::create_directory(game / "cast/ABC.cst");
       },
       "cast/ABC.cst"},
  };
  for (const Case& c : cases) {
    gamefixture::TemporaryFolder scratch;
    const fs::path game = scratch.path();
    fs::create_directory(game / "cast");
    c.arrange(game);
    gamefixture::WritePackageFile(game / "foo.ec", PackageFields{});
    const auto before = gamefixture::SnapshotFolder(game);
    const auto outcome = castdata::ImportCastPackage(game / "foo.ec", game);
    EXPECT_FALSE(outcome.imported) << c.what;
    EXPECT_TRUE(StartsWith(outcome.message, "foo.ec")) << c.what << ": " << outcome.message;
    EXPECT_NE(outcome.message.find(c.namedFile), std::string::npos) << c.what << ": " << outcome.message;
    EXPECT_EQ(gamefixture::SnapshotFolder(game), before) << c.what;
  }
}

TEST_F(PackageImport, MissingPackageIsReportedByName) {
  const auto outcome = Import("gone.ec");
  EXPECT_FALSE(outcome.imported);
  EXPECT_TRUE(StartsWith(outcome.message, "gone.ec")) << outcome.message;
}

TEST_F(PackageImport, ScanImportsEachPackageInListingOrderReportingBeforeTheNext) {
  const std::vector<std::string> names = {"AA", "BB", "CC", "DD"};
  for (const std::string& name : names) {
    PackageFields fields;
    fields.nameField = name;
    Put(name + ".ec", fields);
  }
  PackageFields notAPackage;
  notAPackage.marker = "ce1";
  Put("EE.ec", notAPackage);
  std::vector<std::string> listed;
  for (const auto& entry : fs::directory_iterator(game())) {
    if (entry.path().extension() == ".ec") listed.push_back(entry.path().filename().string());
  }

  std::vector<std::string> reported;
  castdata::ScanCastPackages(game(), [&](const castdata::PackageImportOutcome& outcome) {
    reported.push_back(outcome.packageFile);
    std::size_t packagesLeft = 0;
    for (const std::string& name : names) packagesLeft += fs::exists(game() / (name + ".ec"));
    std::size_t importsSoFar = 0;
    for (const std::string& file : reported) importsSoFar += file != "EE.ec";
    EXPECT_EQ(packagesLeft, names.size() - importsSoFar) << "an import ran ahead of its report";
    EXPECT_EQ(outcome.message, outcome.packageFile == "EE.ec" ? "ECファイルではありません" : "ECファイルを展開しました");
  });
  EXPECT_EQ(reported, listed);
}

TEST_F(PackageImport, ScanSkipsTheUploadInAnyCaseAndMatchesTheExtensionInAnyCase) {
  PackageFields fields;
  for (const char* file : {"upload.ec", "Upload.EC", "UPLOAD.eC", "up.ec", "Foo.EC", "bar.ecx", "ec"}) {
    Put(file, fields);
  }
  fs::create_directory(game() / "folder.ec");
  std::vector<std::string> reported;
  castdata::ScanCastPackages(game(), [&](const castdata::PackageImportOutcome& outcome) {
    EXPECT_TRUE(outcome.imported) << outcome.packageFile << ": " << outcome.message;
    reported.push_back(outcome.packageFile);
  });
  std::sort(reported.begin(), reported.end());
  EXPECT_EQ(reported, (std::vector<std::string>{"Foo.EC", "up.ec"}));
  for (const char* kept : {"upload.ec", "Upload.EC", "UPLOAD.eC", "bar.ecx", "ec", "folder.ec"}) {
    EXPECT_TRUE(fs::exists(game() / kept)) << kept;
  }
}

TEST_F(PackageImport, AFullDiskNamesTheFileAndLeavesTheOldCastThePackageAndNoTemporaryFile) {
  // The picture has 5174 bytes, the data file 6000, the profile file 7000, so
  // each limit stops a different one of the three. The last row shows that the
  // limit lets through what fits, so the others fail for the size alone.
  PackageFields fields;
  fields.castData = std::vector<std::uint8_t>(6000, 0x11);
  fields.castProfile = std::vector<std::uint8_t>(7000, 'p');
  struct Case {
    const char* what;
    std::size_t limit;
    const char* namedFile;  // nullptr: the import goes through
  };
  const Case cases[] = {
      {"nothing may be written", 0, "cast/ABC.bmp"},
      {"the picture is cut short", 5173, "cast/ABC.bmp"},
      {"the picture fits, the data file does not", 5174, "cast/ABC.dat"},
      {"the profile file does not fit", 6999, "cast/ABC.cst"},
      {"all three fit", 7000, nullptr},
  };
  for (const bool castExisted : {true, false}) {
    for (const Case& c : cases) {
      const std::string what = std::string(c.what) + (castExisted ? ", over a cast" : ", a new cast");
      gamefixture::TemporaryFolder scratch;
      const fs::path game = scratch.path();
      fs::create_directory(game / "cast");
      if (castExisted) {
        ASSERT_TRUE(wholefile::Replace(game / "cast/ABC.bmp", Bytes("old picture")));
        ASSERT_TRUE(wholefile::Replace(game / "cast/ABC.dat", Bytes("old data")));
        ASSERT_TRUE(wholefile::Replace(game / "cast/ABC.cst", Bytes("[Data]\r\nName=old\r\n")));
      }
      gamefixture::WritePackageFile(game / "foo.ec", fields);
      const auto before = gamefixture::SnapshotFolder(game);
      const std::string message = gamefixture::RunWithFileSizeLimit(c.limit, [&] {
        const auto outcome = castdata::ImportCastPackage(game / "foo.ec", game);
        return (outcome.imported ? "imported: " : "") + outcome.message;
      });
      if (c.namedFile == nullptr) {
        EXPECT_EQ(message, "imported: ECファイルを展開しました") << what;
        continue;
      }
      EXPECT_TRUE(StartsWith(message, "foo.ecを展開できませんでした\n")) << what << ": " << message;
      EXPECT_NE(message.find(c.namedFile), std::string::npos) << what << ": " << message;
      EXPECT_NE(message.find("File too large"), std::string::npos) << what << ": " << message;
      EXPECT_EQ(gamefixture::SnapshotFolder(game), before) << what;
    }
  }
}

}  // namespace

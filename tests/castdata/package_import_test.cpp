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
#include "immutable_file.h"
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
      // A rename would replace the link; the profile file stays the player's
      // link to a folder, looked at before anything is written.
      {"a link to a folder where the profile file goes",
       [](const fs::path& game) {
         ASSERT_TRUE(wholefile::Replace(game / "cast/ABC.bmp", Bytes("old picture")));
         fs::create_directory(game / "elsewhere");
         fs::create_symlink("../elsewhere", game / "cast/ABC.cst");
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

// A package the player names is imported wherever it lies; it is deleted only
// where the scan would have imported and deleted it, at the top of the game
// folder (however the folder's path is spelled), and a refused one stays.
TEST_F(PackageImport, NamedPackagesAreDeletedOnlyWhereTheScanWouldDeleteThem) {
  gamefixture::TemporaryFolder elsewhere;
  fs::create_directory(game() / "dat");
  fs::create_directory_symlink(game(), elsewhere.path() / "link");
  struct Case {
    const char* what;
    fs::path file;
    bool scanned;
  } cases[] = {
      {"at the top of the game folder", game() / "top.ec", true},
      {"the extension in another case", game() / "Top.EC", true},
      {"through a link to the game folder", elsewhere.path() / "link/linked.ec", true},
      {"in a folder of the game folder", game() / "dat/inner.ec", false},
      {"the upload package at the top", game() / "upload.ec", false},
      {"outside the game folder", elsewhere.path() / "mine.ec", false},
  };
  for (const Case& c : cases) {
    for (const bool refused : {false, true}) {
      PackageFields fields;
      fields.nameField = "NAMED";
      if (refused) fields.marker = "ce1";
      gamefixture::WritePackageFile(c.file, fields);
      EXPECT_EQ(castdata::IsScannedPackage(c.file, game()), c.scanned) << c.what;
      const auto outcome = castdata::ImportNamedPackage(c.file, game());
      EXPECT_EQ(outcome.imported, !refused) << c.what;
      EXPECT_EQ(outcome.message, refused ? "ECファイルではありません" : "ECファイルを展開しました") << c.what;
      EXPECT_EQ(fs::exists(c.file), refused || !c.scanned) << c.what << (refused ? ", refused" : "");
      if (!refused) ExpectCast("NAMED", fields);
      fs::remove(c.file);
    }
  }
  EXPECT_FALSE(castdata::IsScannedPackage(game() / "missing.ec", game()));
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

// A symbolic link at one of the cast's names is replaced by the imported file
// itself: the package never writes through it, wherever it points.
TEST(PackageImportLinks, ALinkAtACastFilesNameIsReplacedAndWhatItPointsToStays) {
  struct Case {
    const char* what;
    const char* file;    // the cast file that is a link
    const char* target;  // what it points to; "@" stands for the outside folder's full path
  };
  const Case cases[] = {
      {"the data file to a file outside the game", "ABC.dat", "../../outside/victim"},
      {"the picture to a file outside the game", "ABC.bmp", "../../outside/victim"},
      {"the profile file to a file outside the game, by its full path", "ABC.cst", "@/victim"},
      {"the data file to another cast's data file", "ABC.dat", "OTHER.dat"},
      {"the profile file to nothing outside the game", "ABC.cst", "../../outside/missing"},
      {"the picture to nothing in the game's own folder", "ABC.bmp", "../created-by-the-package"},
  };
  for (const Case& c : cases) {
    gamefixture::TemporaryFolder scratch;
    const fs::path outside = scratch.path() / "outside";
    const fs::path game = scratch.path() / "game";
    fs::create_directories(outside);
    fs::create_directories(game / "cast");
    ASSERT_TRUE(wholefile::Replace(outside / "victim", Bytes("the player's own file")));
    ASSERT_TRUE(wholefile::Replace(game / "cast/OTHER.dat", Bytes("another cast")));
    std::string target = c.target;
    if (target.starts_with("@")) target = outside.string() + target.substr(1);
    fs::create_symlink(target, game / "cast" / c.file);
    PackageFields fields;
    gamefixture::WritePackageFile(game / "foo.ec", fields);

    const auto outcome = castdata::ImportCastPackage(game / "foo.ec", game);

    EXPECT_TRUE(outcome.imported) << c.what << ": " << outcome.message;
    EXPECT_FALSE(fs::is_symlink(game / "cast" / c.file)) << c.what;
    EXPECT_EQ(wholefile::Read(game / "cast/ABC.bmp").value(), fields.picture) << c.what;
    EXPECT_EQ(wholefile::Read(game / "cast/ABC.dat").value(), fields.castData) << c.what;
    EXPECT_EQ(wholefile::Read(game / "cast/ABC.cst").value(), fields.castProfile) << c.what;
    EXPECT_EQ(wholefile::Read(outside / "victim").value(), Bytes("the player's own file")) << c.what;
    EXPECT_EQ(wholefile::Read(game / "cast/OTHER.dat").value(), Bytes("another cast")) << c.what;
    EXPECT_EQ(std::distance(fs::directory_iterator(outside), fs::directory_iterator()), 1) << c.what;
    EXPECT_FALSE(fs::exists(game / "created-by-the-package")) << c.what;
  }
}

// When a later file of the set cannot be renamed into place, those already
// renamed are put back: files with their old bytes, a link as the same link,
// a file that was not there removed again.
TEST(PackageImportSets, AFileThatCannotBeReplacedPutsBackWhatWasRenamed) {
  struct Case {
    const char* what;
    bool picture;             // an old cast/ABC.bmp
    bool pictureIsALink;      // ... that is a link to a file outside the game
    const char* immutable;    // the old file the system will not let go
    const char* namedFile;
  };
  const Case cases[] = {
      {"the data file, second of the three", true, false, "ABC.dat", "cast/ABC.dat"},
      {"the profile file, the last of the three", true, false, "ABC.cst", "cast/ABC.cst"},
      {"the profile file, with no picture before", false, false, "ABC.cst", "cast/ABC.cst"},
      {"the profile file, with the picture a link", true, true, "ABC.cst", "cast/ABC.cst"},
  };
  for (const Case& c : cases) {
    gamefixture::TemporaryFolder scratch;
    const fs::path outside = scratch.path() / "outside";
    const fs::path game = scratch.path() / "game";
    fs::create_directories(outside);
    fs::create_directories(game / "cast");
    ASSERT_TRUE(wholefile::Replace(outside / "picture", Bytes("a picture kept elsewhere")));
    if (c.pictureIsALink) {
      fs::create_symlink(outside / "picture", game / "cast/ABC.bmp");
    } else if (c.picture) {
      ASSERT_TRUE(wholefile::Replace(game / "cast/ABC.bmp", Bytes("old picture")));
    }
    ASSERT_TRUE(wholefile::Replace(game / "cast/ABC.dat", Bytes("old data")));
    ASSERT_TRUE(wholefile::Replace(game / "cast/ABC.cst", Bytes("[Data]\r\nName=old\r\n")));
    gamefixture::WritePackageFile(game / "foo.ec", PackageFields{});
    const auto before = gamefixture::SnapshotFolder(scratch.path());

    castdata::PackageImportOutcome outcome;
    {
      const gamefixture::ImmutableFile locked(game / "cast" / c.immutable);
      if (!locked.Settable()) GTEST_SKIP() << "this file system or process cannot make a file immutable";
      outcome = castdata::ImportCastPackage(game / "foo.ec", game);
    }

    EXPECT_FALSE(outcome.imported) << c.what;
    EXPECT_TRUE(StartsWith(outcome.message, "foo.ecを展開できませんでした\n")) << c.what << ": " << outcome.message;
    EXPECT_NE(outcome.message.find(c.namedFile), std::string::npos) << c.what << ": " << outcome.message;
    EXPECT_EQ(outcome.message.find("元に戻せません"), std::string::npos) << c.what << ": " << outcome.message;
    EXPECT_EQ(gamefixture::SnapshotFolder(scratch.path()), before) << c.what;
    if (c.pictureIsALink) {
      EXPECT_TRUE(fs::is_symlink(game / "cast/ABC.bmp")) << c.what;
      EXPECT_EQ(fs::read_symlink(game / "cast/ABC.bmp"), outside / "picture") << c.what;
    }
  }
}

// A package that would stay after its import would be imported again at
// every start, over whatever the player changed since.
TEST(PackageImportDeletion, APackageThatCannotBeDeletedIsNotImported) {
  struct Case {
    const char* what;
    bool folder;  // the game folder is read-only; otherwise the package itself
  };
  const Case cases[] = {
      {"a read-only game folder", true},
      {"a package the system will not let go", false},
  };
  for (const Case& c : cases) {
    gamefixture::TemporaryFolder scratch;
    const fs::path game = scratch.path();
    fs::create_directories(game / "cast");
    ASSERT_TRUE(wholefile::Replace(game / "cast/ABC.dat", Bytes("old data")));
    ASSERT_TRUE(wholefile::Replace(game / "cast/ABC.cst", Bytes("[Data]\r\nName=old\r\n")));
    gamefixture::WritePackageFile(game / "foo.ec", PackageFields{});
    const auto before = gamefixture::SnapshotFolder(game);

    castdata::PackageImportOutcome outcome;
    std::vector<castdata::PackageImportOutcome> scanned;
    {
      const gamefixture::ImmutableFile readOnly(c.folder ? game : game / "foo.ec");
      if (!readOnly.Settable()) GTEST_SKIP() << "this file system or process cannot make a file immutable";
      outcome = castdata::ImportCastPackage(game / "foo.ec", game);
      castdata::ScanCastPackages(game, [&](const castdata::PackageImportOutcome& o) { scanned.push_back(o); });
    }

    EXPECT_FALSE(outcome.imported) << c.what;
    EXPECT_EQ(outcome.message, "foo.ecを削除できないため展開しません: Operation not permitted") << c.what;
    ASSERT_EQ(scanned.size(), 1u) << c.what;
    EXPECT_FALSE(scanned[0].imported) << c.what;
    EXPECT_EQ(gamefixture::SnapshotFolder(game), before) << c.what;
  }
}

}  // namespace

#include "scrambling_library.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;

// A game folder of the test's own, with the given library file (if any)
// copied to dat/libOrvDll.so.
class GameFolder {
 public:
  explicit GameFolder(const char* library = nullptr) {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    root_ = fs::temp_directory_path() /
            ("scrambling-library-" + std::string(test->name()) + "-" + std::to_string(getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "dat");
    if (library != nullptr) {
      InstallLibrary(library);
    }
  }
  ~GameFolder() { fs::remove_all(root_); }

  void InstallLibrary(const char* library) const {
    fs::copy_file(library, root_ / platform::kScramblingLibraryPath,
                  fs::copy_options::overwrite_existing);
  }
  std::string Library() const { return (root_ / platform::kScramblingLibraryPath).string(); }
  std::string Write(const std::string& name, const std::string& contents) const {
    std::ofstream(root_ / name, std::ios::binary) << contents;
    return (root_ / name).string();
  }
  static std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  const fs::path& Root() const { return root_; }

 private:
  fs::path root_;
};

// Runs the test body with the working folder set to `folder`.
class WorkingFolder {
 public:
  explicit WorkingFolder(const fs::path& folder) : previous_(fs::current_path()) {
    fs::current_path(folder);
  }
  ~WorkingFolder() { fs::current_path(previous_); }

 private:
  fs::path previous_;
};

TEST(ScramblingLibrary, PacksAndUnpacksThroughTheLoadedLibrary) {
  GameFolder game(ORVDLL_FILE);
  const std::string file = game.Write("USER.DAT", "abc");
  platform::ScramblingLibrary library(game.Library());

  EXPECT_EQ(library.FilePack(file), 1);
  const std::string packed = GameFolder::Contents(file);
  ASSERT_EQ(packed.size(), 7u);
  EXPECT_EQ(packed.substr(0, 2), "\x83\x16");
  EXPECT_EQ(packed[3], '\x3D');
  EXPECT_EQ(library.FilePack(file), 0);  // already packed

  EXPECT_EQ(library.FileUnpack(file), 1);
  EXPECT_EQ(GameFolder::Contents(file), "abc");
}

TEST(ScramblingLibrary, DefaultPathIsTheWorkingFoldersDat) {
  GameFolder game(ORVDLL_FILE);
  game.Write("orv.txt", "plain");
  WorkingFolder inGame(game.Root());
  platform::ScramblingLibrary library;

  EXPECT_EQ(library.LibraryPath(), "dat/libOrvDll.so");
  EXPECT_EQ(library.FilePack("orv.txt"), 1);
  EXPECT_EQ(library.FileUnpack("orv.txt"), 1);
  EXPECT_EQ(GameFolder::Contents("orv.txt"), "plain");
}

TEST(ScramblingLibrary, MissingLibraryIsAnErrorNamingTheFile) {
  GameFolder game;
  const std::string file = game.Write("USER.DAT", "abc");
  WorkingFolder inGame(game.Root());
  platform::ScramblingLibrary library;

  for (const bool pack : {true, false}) {
    try {
      pack ? library.FilePack(file) : library.FileUnpack(file);
      ADD_FAILURE() << "no error for a missing library";
    } catch (const platform::ScramblingLibraryError& error) {
      EXPECT_EQ(std::string(error.what()), "ファイルが見つかりません: dat/libOrvDll.so");
    }
  }
  EXPECT_EQ(GameFolder::Contents(file), "abc");
}

TEST(ScramblingLibrary, LibraryIsOpenedAtTheFirstCallNotBefore) {
  GameFolder game;
  const std::string file = game.Write("USER.DAT", "abc");
  platform::ScramblingLibrary library(game.Library());
  EXPECT_THROW(library.FilePack(file), platform::ScramblingLibraryError);

  game.InstallLibrary(ORVDLL_FILE);
  EXPECT_EQ(library.FilePack(file), 1);
}

TEST(ScramblingLibrary, FileThatIsNoLibraryIsAnErrorNamingTheFile) {
  GameFolder game;
  game.Write("dat/libOrvDll.so", "not a library");
  platform::ScramblingLibrary library(game.Library());
  try {
    library.FileUnpack(game.Write("USER.DAT", "abc"));
    ADD_FAILURE() << "no error for a broken library";
  } catch (const platform::ScramblingLibraryError& error) {
    const std::string text = error.what();
    EXPECT_EQ(text.rfind("ライブラリ " + game.Library() + " を読み込めません: ", 0), 0u) << text;
  }
}

TEST(ScramblingLibrary, MissingFunctionIsAnErrorNamingItAndTheFile) {
  GameFolder game(ORVDLL_WITHOUT_UNPACK_FILE);
  platform::ScramblingLibrary library(game.Library());
  const std::string file = game.Write("USER.DAT", "abc");

  EXPECT_EQ(library.FilePack(file), 1);  // the stand-in's FilePack binds
  try {
    library.FileUnpack(file);
    ADD_FAILURE() << "no error for a missing function";
  } catch (const platform::ScramblingLibraryError& error) {
    EXPECT_EQ(std::string(error.what()),
              "DLL エントリ ポイント FileUnpack が " + game.Library() + " に見つかりません");
  }
}

// The relative name is the same in every game folder: a library still loaded
// from one folder must not stand in for the file of the same name in another.
TEST(ScramblingLibrary, ALibraryLoadedFromAnotherFolderIsNeverTakenForTheOneHere) {
  GameFolder first(ORVDLL_FILE);
  const std::string file = first.Write("USER.DAT", "abc");
  platform::ScramblingLibrary loadedThere;
  {
    WorkingFolder inFirst(first.Root());
    ASSERT_EQ(loadedThere.FilePack(file), 1);
  }
  struct Case {
    const char* what;
    const char* library;  // copied into the second folder's dat/, if any
    const char* message;
  };
  const Case cases[] = {
      {"no library here", nullptr, "ファイルが見つかりません: dat/libOrvDll.so"},
      {"a library without FileUnpack here", ORVDLL_WITHOUT_UNPACK_FILE,
       "DLL エントリ ポイント FileUnpack が dat/libOrvDll.so に見つかりません"},
  };
  for (const Case& c : cases) {
    const fs::path second = first.Root() / "second";
    fs::remove_all(second);
    fs::create_directories(second / "dat");
    if (c.library != nullptr) fs::copy_file(c.library, second / platform::kScramblingLibraryPath);
    WorkingFolder inSecond(second);
    platform::ScramblingLibrary library;
    try {
      library.FileUnpack(file);
      ADD_FAILURE() << c.what << ": the library of the first folder was used";
    } catch (const platform::ScramblingLibraryError& error) {
      EXPECT_EQ(std::string(error.what()), c.message) << c.what;
    }
  }
  EXPECT_EQ(GameFolder::Contents(file).size(), 7u) << "the first library packed the file once";
}

}  // namespace

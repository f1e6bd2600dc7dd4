// The import of a cast package with any bytes, in a made game folder that
// lies two folders deep in a sandbox of its own. Whatever the package holds,
// the import writes nothing but the three files of the cast it names, and
// only inside "cast/": after it, the sandbox holds exactly what it held
// before, less the package when the cast was imported, plus (or replacing)
// cast/NAME.bmp, cast/NAME.dat and cast/NAME.cst with the package's parts.
// No temporary file stays behind. A package the reader accepts is imported.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "cast_package.h"
#include "fixture_files.h"
#include "folder_snapshot.h"
#include "fuzz_check.h"
#include "package_import.h"
#include "temporary_folder.h"

namespace {

using castdata::PackageReading;

// sandbox/outside/game: a cast name of 8 bytes can climb at most two folders
// from "cast/" ("cast/../../x"), which stays inside the sandbox, so a write
// that leaves the cast folder lands where the snapshot sees it.
const std::filesystem::path kGame = "outside/game";

void MakeGameFolder(const std::filesystem::path& sandbox) {
  const std::filesystem::path game = sandbox / kGame;
  gamefixture::WriteBytes(game / "orv.txt", "Version1.32\r\n");
  gamefixture::WriteBytes(game / "DAT" / "USER.DAT", std::string(802, '\0'));
  gamefixture::WriteBytes(game / "dat" / "orv_up.dat", "<html></html>\r\n");
  gamefixture::WriteBytes(game / "cast" / "def.bmp", std::string(castdata::kCastPictureSize, 'P'));
  gamefixture::WriteBytes(game / "cast" / "OLD.cst", "[Data]\r\nName=old\r\n");
  gamefixture::WriteBytes(sandbox / "outside" / "keep.txt", "outside the game folder\r\n");
}

// The packages tried and imported, told when the process ends (each check
// that fails aborts, so every package counted wrote nothing outside cast/).
struct Tally {
  long tried = 0;
  long imported = 0;
  ~Tally() {
    std::fprintf(stderr, "tally: %ld packages tried, %ld imported, none wrote outside cast/\n", tried,
                 imported);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static Tally tally;
  static const gamefixture::TemporaryFolder sandbox;
  ++tally.tried;
  std::filesystem::remove_all(sandbox.path() / "outside");
  MakeGameFolder(sandbox.path());
  const std::filesystem::path package = sandbox.path() / kGame / "in.ec";
  gamefixture::WriteBytes(package, {reinterpret_cast<const char*>(data), size});
  const gamefixture::FolderTree before = gamefixture::SnapshotFolder(sandbox.path());

  const castdata::PackageImportOutcome outcome = castdata::ImportCastPackage(package, sandbox.path() / kGame);
  const gamefixture::FolderTree after = gamefixture::SnapshotFolder(sandbox.path());

  const PackageReading reading = castdata::ReadCastPackage(fuzzcheck::Bytes(data, size));
  FUZZ_CHECK(outcome.imported == (reading.status == PackageReading::Status::kRead));
  if (!outcome.imported) {
    FUZZ_CHECK(after == before);
    return 0;
  }
  FUZZ_CHECK(outcome.message == castdata::kPackageImportedMessage);
  FUZZ_CHECK(outcome.castName == reading.package.castName);
  gamefixture::FolderTree expected = before;
  expected.erase((kGame / "in.ec").string());
  const std::string base = (kGame / "cast" / reading.package.castName).string();
  expected[base + ".bmp"] = {false, reading.package.picture};
  expected[base + ".dat"] = {false, reading.package.castData};
  expected[base + ".cst"] = {false, reading.package.castProfile};
  FUZZ_CHECK(after == expected);
  ++tally.imported;
  return 0;
}

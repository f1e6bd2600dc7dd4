// picture: any image file made a cast's picture; refusals exit 1, an image
// that cannot be read 2.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include "cast_picture_format.h"
#include "casttool_game.h"
#include "fixture_files.h"

namespace casttooltest {
namespace {

// A 90 x 60 PNG in one colour.
std::string PngBytes() {
  QImage image(90, 60, QImage::Format_RGB32);
  image.fill(qRgb(30, 160, 220));
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, "PNG"));
  return data.toStdString();
}

class PictureCommand : public CastToolGame {
 protected:
  PictureCommand() {
    gamefixture::WriteBytes(game() / "Drawing.PNG", PngBytes());
    gamefixture::WriteBytes(game() / "notes.txt", "not a picture");
    Write(CastOwnedBy("OWN", kPlayer));
    Write(CastOwnedBy("ZERO", 0));  // 0 is the reading player's own
    Write(CastOwnedBy("OTHER", 99));
  }

  static FixtureCast CastOwnedBy(const std::string& name, std::int16_t owner) {
    FixtureCast cast = ValidCast(name);
    cast.record.ownerNumber = owner;
    return cast;
  }
};

TEST_F(PictureCommand, ExitStatusesAndWhatIsWritten) {
  struct Case {
    std::string what;
    std::vector<std::string> arguments;
    int exitStatus;
    std::string err;  // a part of the one error line; "" for none
  } cases[] = {
      {"an own cast, the image named in another case", {"picture", "OWN", "drawing.png"}, 0, ""},
      {"a cast with owner 0", {"picture", "ZERO", "drawing.png"}, 0, ""},
      {"a cast not yet stored", {"picture", "NEW", "drawing.png"}, 0, ""},
      {"another player's cast in shop mode", {"picture", "OTHER", "drawing.png", "--shop"}, 0, ""},
      {"another player's cast", {"picture", "OTHER", "drawing.png"}, 1, "自分で作成したデータ以外"},
      {"a name that leaves the cast folder", {"picture", "../OWN", "drawing.png"}, 1, "../OWN"},
      {"a picture that cannot be written", {"picture", "DIR", "drawing.png"}, 1, "cast/DIR.bmp"},
      {"a file that is no image", {"picture", "OWN", "notes.txt"}, 2, "notes.txt"},
      {"a missing image", {"picture", "OWN", "missing.png"}, 2, "ファイルが見つかりません"},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(game() / "cast");
    Write(CastOwnedBy("OWN", kPlayer));
    Write(CastOwnedBy("ZERO", 0));
    Write(CastOwnedBy("OTHER", 99));
    std::filesystem::create_directory(game() / "cast/DIR.bmp");
    const gamefixture::FolderTree before = gamefixture::SnapshotFolder(game());
    const ProgramResult result = Run(c.arguments);
    EXPECT_EQ(result.exitStatus, c.exitStatus) << c.what << ": " << result.err;
    const std::string& name = c.arguments[1];
    if (c.exitStatus == 0) {
      EXPECT_EQ(result.out, "cast/" + name + ".bmp: written\n") << c.what;
      EXPECT_EQ(result.err, "") << c.what;
      const std::string picture = gamefixture::ReadBytes(game() / ("cast/" + name + ".bmp"));
      EXPECT_EQ(castdata::CastPictureProblem(std::span(reinterpret_cast<const std::uint8_t*>(picture.data()),
                                                       picture.size())),
                std::nullopt)
          << c.what;
    } else {
      EXPECT_EQ(result.out, "") << c.what;
      EXPECT_EQ(Lines(result.err).size(), 1u) << c.what << ": " << result.err;
      EXPECT_NE(result.err.find(c.err), std::string::npos) << c.what << ": " << result.err;
      EXPECT_TRUE(gamefixture::SnapshotFolder(game()) == before) << c.what << ": something was written";
    }
  }
}

// A picture the game takes is never rewritten, whatever its header holds.
TEST_F(PictureCommand, ACastPictureIsTakenByteForByte) {
  std::vector<std::uint8_t> picture = gamefixture::MakeCastPicture(9);
  picture[6] = 'X';  // the reserved field, which no writer of ours sets
  gamefixture::WriteBytes(game() / "mine.bmp", gamefixture::AsText(picture));
  ASSERT_EQ(Run({"picture", "OWN", "mine.bmp"}).exitStatus, 0);
  EXPECT_EQ(gamefixture::ReadBytes(game() / "cast/OWN.bmp"), gamefixture::AsText(picture));
}

// Another player's cast is told apart only with the progress file, which
// must be readable then.
TEST_F(PictureCommand, AnOwnerThatCannotBeToldIsAFailure) {
  std::filesystem::remove(game() / "DAT/USER.DAT");
  const ProgramResult result = Run({"picture", "OTHER", "drawing.png"});
  EXPECT_EQ(result.exitStatus, 2);
  EXPECT_NE(result.err.find("USER.DAT"), std::string::npos) << result.err;
  EXPECT_EQ(Run({"picture", "NEW", "drawing.png"}).exitStatus, 0) << "a new cast needs no owner";
}

// The image readers live in a module beside casttool, which the picture
// command alone loads: a casttool without it still does everything else, and
// the picture command names what is missing.
TEST_F(PictureCommand, TheImageReadersAreAModuleBesideTheTool) {
  gamefixture::TemporaryFolder alone;
  const std::filesystem::path tool = alone.path() / "casttool";
  std::filesystem::copy_file(CASTTOOL_PATH, tool);
  const auto run = [&](std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"-C", game().string()});
    return gamefixture::RunProgram(tool, arguments);
  };
  EXPECT_EQ(run({"list"}).exitStatus, 0);
  const ProgramResult refused = run({"picture", "OWN", "drawing.png"});
  EXPECT_EQ(refused.exitStatus, 2);
  EXPECT_EQ(refused.out, "");
  const std::string module = (alone.path() / "casttool_picture.so").generic_string();
  EXPECT_EQ(refused.err.rfind("casttool: 「" + module + "」を読み込めません: ", 0), 0u) << refused.err;
  EXPECT_EQ(Lines(refused.err).size(), 1u);

  std::filesystem::copy_file(std::filesystem::path(CASTTOOL_PATH).parent_path() / "casttool_picture.so",
                             alone.path() / "casttool_picture.so");
  EXPECT_EQ(run({"picture", "OWN", "drawing.png"}).exitStatus, 0);
}

}  // namespace
}  // namespace casttooltest

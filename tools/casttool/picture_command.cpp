#include "picture_command.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <memory>
#include <vector>

#include "cast_data_file.h"
#include "cast_folder.h"
#include "cast_name.h"
#include "cast_picture_format.h"
#include "cast_rules.h"
#include "error.h"
#include "file_access.h"
#include "game_files.h"
#include "messages.h"
#include "picture_module_loader.h"
#include "progress_data.h"
#include "scrambled_file.h"
#include "whole_file.h"

namespace casttool {
namespace {

// Whether the cast may take a new picture, as the editor decides it: an own
// cast (its stored owner, 0 counting as the player's), a cast not yet
// stored, or any cast in shop mode. castdata::Error when the cast's data
// file or the progress file cannot be read.
bool MayChangePicture(const platform::GameFolder& game, const std::string& name, bool shopMode) {
  if (shopMode || !castdata::CastExists(name, game)) return true;
  const std::int16_t storedOwner = castdata::ReadCastData(name, game).ownerNumber;
  const std::int16_t player =
      castdata::ReadProgressData(castdata::ReadGameFileInMemory(game.Resolve(castdata::kProgressFilePath)))
          .playerNumber;
  return castdata::MaySaveCast(castdata::OwnerOnLoad(storedOwner, player), player, false);
}

}  // namespace

ExitStatus SetCastPicture(const platform::GameFolder& game, const std::string& name, const std::string& imageFile,
                          bool shopMode, Output& output) {
  if (const auto problem = castdata::CastNameProblem(name)) {
    output.Error(*problem);
    return ExitStatus::kProblem;
  }
  try {
    if (!MayChangePicture(game, name, shopMode)) {
      output.Error(messages::NotOwnCastPicture(name));
      return ExitStatus::kProblem;
    }
  } catch (const castdata::Error& error) {
    output.Error(error.what());
    return ExitStatus::kFailure;
  }
  std::vector<std::uint8_t> picture;
  try {
    picture = CastPictureFromImageFile(InGameFolder(game, imageFile));
  } catch (const castdata::Error& error) {
    output.Error(error.what());
    return ExitStatus::kFailure;
  }
  try {
    castdata::WriteCastPicture(name, picture, game);
  } catch (const castdata::Error& error) {
    output.Error(error.what());
    return ExitStatus::kProblem;
  }
  output.WriteLine(messages::Written(castdata::CastPath(name, ".bmp")));
  return ExitStatus::kSuccess;
}

void AddPictureCommand(CLI::App& app, const std::function<platform::GameFolder()>& gameFolder, ExitStatus& status,
                       Output& output) {
  // The command's arguments live as long as the app that parses into them.
  struct Arguments {
    std::string name;
    std::string image;
    bool shop = false;
  };
  auto arguments = std::make_shared<Arguments>();
  CLI::App* picture = app.add_subcommand("picture", messages::kPictureDescription);
  picture->add_option("NAME", arguments->name, messages::kPictureName)->required();
  picture->add_option("IMAGE", arguments->image, messages::kPictureImage)->required();
  picture->add_flag("--shop", arguments->shop, messages::kPictureShop);
  picture->footer(messages::kPictureFooter);
  picture->callback([&status, &output, gameFolder, arguments] {
    status = SetCastPicture(gameFolder(), arguments->name, arguments->image, arguments->shop, output);
  });
}

std::optional<std::string> PictureProblem(const std::filesystem::path& picture) {
  if (const auto reason = UnreadableReason(picture)) return reason;
  std::string reason;
  const auto bytes = wholefile::Read(picture, &reason);
  if (!bytes) return reason;
  return castdata::CastPictureProblem(*bytes);
}

}  // namespace casttool

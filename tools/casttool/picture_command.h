// picture NAME IMAGE [--shop]: any image file made the picture of a cast, as
// the editor makes an image dropped on its picture box the cast's picture;
// and the check of a picture's form that `show` reports.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "exit_status.h"
#include "game_folder.h"
#include "output.h"

namespace CLI {
class App;
}

namespace casttool {

// Writes cast/NAME.bmp from IMAGE (a cast picture already is taken byte for
// byte, any other image converted to 64 x 64 with 256 colours, 5174 bytes)
// and prints "cast/NAME.bmp: written". Refused with kProblem, writing
// nothing: a name that names no file in cast/, another player's cast outside
// shop mode, a picture that cannot be written. kFailure when IMAGE cannot be
// read or holds no image, or when the files that tell the cast's owner
// cannot be read. A cast that does not exist yet is the player's own.
ExitStatus SetCastPicture(const platform::GameFolder& game, const std::string& name, const std::string& imageFile,
                          bool shopMode, Output& output);

// Adds the command to `app`; its callback runs SetCastPicture in the folder
// `gameFolder` gives and puts its result in `status`.
void AddPictureCommand(CLI::App& app, const std::function<platform::GameFolder()>& gameFolder, ExitStatus& status,
                       Output& output);

// nullopt when the file `picture` is a cast picture in the form the upload
// and the game need; otherwise why not ("ファイルが見つかりません",
// "大きさが5174バイトではありません（100バイト）", ...).
std::optional<std::string> PictureProblem(const std::filesystem::path& picture);

}  // namespace casttool

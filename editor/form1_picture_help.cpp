// Form1's picture and help commands: the cast picture and the manual handed to
// the desktop's programs.
//
// A double-click on Picture1 makes sure the cast has a picture file (a copy
// of cast/def.bmp when it has none) and opens it in the desktop's picture
// program; Help opens the manual help_tug.html in the browser. Neither waits
// for the program, and neither tells of an opener that cannot start or a
// manual that is missing: the desktop says what it has to say. Picture1 is
// not reloaded; the edited picture shows at the cast's next load.
#include <QPushButton>

#include <exception>
#include <filesystem>
#include <string>

#include "cast_folder.h"
#include "cast_file_path.h"
#include "form1.h"
#include "message_box.h"
#include "module1.h"
#include "picture_box.h"
#include "ui_form1.h"

namespace {

constexpr int kNormalWindow = 1;
const std::string kManual = "help_tug.html";

}  // namespace

void Form1::ConnectPictureAndHelp() {
  connect(static_cast<PictureBox*>(ui_->Picture1), &PictureBox::doubleClicked, this, &Form1::OnPicture1DoubleClick);
  connect(ui_->Help, &QPushButton::clicked, this, &Form1::OnHelpClick);
}

// The path goes to the opener with "/", the separator of the platform's
// shell. A picture that cannot be made (no cast/def.bmp, a name that names no
// file in cast/) is said in words that name the file and the reason, and
// nothing is opened.
void Form1::OnPicture1DoubleClick() {
  const std::string name = ui_->cbFile->currentText().toStdString();
  try {
    castdata::EnsureCastPicture(name, game_);
  } catch (const std::exception& failure) {
    messagebox::Show(this, QString::fromStdString(failure.what()));
    return;
  }
  const std::filesystem::path picture = castdata::CastFilePath(name, ".bmp", game_);
  std::error_code ignored;
  if (std::filesystem::is_regular_file(picture, ignored)) Module1::ShellOpen(picture.string(), kNormalWindow);
}

void Form1::OnHelpClick() { Module1::ShellOpen(game_.Resolve(kManual).string(), kNormalWindow); }

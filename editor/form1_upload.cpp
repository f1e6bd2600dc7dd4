// Form1's upload command, cmPack: prepares the cast in the editor for
// publishing on the web.
//
// After a question and the authorship rule the cast is saved, its picture
// checked, the cast package dat/upload.ec written, the picture exported as
// dat/orv_up.png, and the page dat/up.html made from the template
// dat/orv_up.dat and handed to the desktop's browser. Publishing itself
// happens in the browser. Every step that shows a message ends the command;
// a file that cannot be read or written is named with the reason, and no
// page is opened then. Each file is replaced whole through the safe rewrite.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <cstdint>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "cast_file_path.h"
#include "cast_name.h"
#include "cast_package.h"
#include "error.h"
#include "field_conversion.h"
#include "form1.h"
#include "message_box.h"
#include "module1.h"
#include "ui_form1.h"
#include "upload_image.h"
#include "upload_page.h"
#include "whole_file.h"

namespace {

namespace fs = std::filesystem;

const QString kUploadQuestion = QStringLiteral("自分で作成したデータをWEB上にアップロードする機能です\r続けますか？");
const QString kNotOwnCast = QStringLiteral("自分で作成したデータ以外アップロードできません");
const QString kNameTooLongForUpload =
    QStringLiteral("ファイル名が長すぎるためアップロードできません\r英数字8文字(全角文字は4文字)以内にしてください");
const QString kSaveFailed = QStringLiteral("保存に失敗しました");
const QString kPictureNotCastSize = QStringLiteral("BMPファイルの大きさが64*64(256色)になっていません");
const QString kNoTemplate = QStringLiteral("dat/orv_up.datが見つかりません");

constexpr int kPropertyPage = 0;
constexpr int kNormalWindow = 1;

// The length of the cast picture, read from the file system.
std::uintmax_t PictureLength(const fs::path& picture) {
  std::error_code error;
  const std::uintmax_t length = fs::file_size(picture, error);
  if (error) throw castdata::Error(castdata::CannotRead(picture, error.message()));
  return length;
}

void WritePackage(const platform::GameFolder& game, const std::string& name) {
  const std::vector<std::uint8_t> package = castdata::BuildCastPackage(game, name);
  const fs::path path = game.Resolve(castdata::kUploadPackagePath);
  std::string reason;
  if (!wholefile::Replace(path, package, &reason)) throw castdata::Error(castdata::CannotWrite(path, reason));
}

}  // namespace

void Form1::ConnectUpload() { connect(ui_->cmPack, &QPushButton::clicked, this, &Form1::OnCmPackClick); }

void Form1::OnCmPackClick() {
  ui_->SSTab1->setCurrentIndex(kPropertyPage);
  if (!messagebox::AskYesNo(this, kUploadQuestion)) return;

  if (castOwnerNumber_ == 0) castOwnerNumber_ = playerNumber_;
  if (castOwnerNumber_ != playerNumber_ && !shopMode_) {
    messagebox::Show(this, kNotOwnCast);
    return;
  }

  // The name is tested once the save routine's own tests have passed, so
  // that they keep their order and their messages, and before it writes.
  const std::string name = ui_->cbFile->currentText().toStdString();
  bool nameRefused = false;
  const auto nameFits = [&] {
    if (castdata::CastNameFitsPackage(name)) return true;
    nameRefused = true;
    messagebox::Show(this, kNameTooLongForUpload);
    return false;
  };
  if (!SaveCast(nameFits)) {
    if (!nameRefused) messagebox::Show(this, kSaveFailed);
    return;
  }

  try {
    if (PictureLength(castdata::CastFilePath(name, ".bmp", game_)) != castdata::kCastPictureSize) {
      messagebox::Show(this, kPictureNotCastSize);
      return;
    }
    WritePackage(game_, name);
    if (!game_.HasFile(castdata::kUploadTemplatePath)) {
      messagebox::Show(this, kNoTemplate);
      return;
    }
    WriteUploadImage(*ui_->Picture1, game_.Resolve(castdata::kUploadImagePath));

    castdata::UploadTexts texts;
    texts.unitName = ui_->TxName->text().toStdString();
    texts.maker = ui_->TxMaker->text().toStdString();
    for (std::size_t k = 0; k < texts.comments.size(); ++k) {
      texts.comments[k] = TxCom(static_cast<int>(k))->text().toStdString();
    }
    texts.email = ui_->TxEmail->text().toStdString();
    texts.ownerNumber = castOwnerNumber_;
    texts.level = castdata::NumberField(ui_->lbLevel->text().toStdString(), "lbLevel");
    castdata::WriteUploadPage(game_, texts);
  } catch (const std::exception& failure) {
    messagebox::Show(this, QString::fromStdString(failure.what()));
    return;
  }
  Module1::ShellOpen(game_.Resolve(castdata::kUploadPagePath).string(), kNormalWindow);
}

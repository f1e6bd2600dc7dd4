// Form1's picture menu and picture import: any image made the cast picture,
// and the picture written out as PNG.
//
// An image file dropped on Picture1 (form1_file_drops.cpp) or chosen with
// "画像を読み込む…" from its context menu becomes cast/NAME.bmp for the cast in
// the editor, in the one form the game and the upload take (64 x 64, 256
// colours, 5174 bytes; a file already in that form is taken byte for byte),
// and Picture1 shows it at once. It changes the cast's files, so it is for
// the player's own cast, or any cast in shop mode, as the save is.
// "画像を書き出す…" writes the cast's picture as a PNG file where the player
// chooses. A refusal or a failure says why, naming the file, and writes
// nothing.
#include <QAction>
#include <QBuffer>
#include <QByteArray>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTabWidget>

#include <cstdint>
#include <exception>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "cast_file_path.h"
#include "cast_folder.h"
#include "cast_rules.h"
#include "error.h"
#include "file_bytes.h"
#include "form1.h"
#include "image_file.h"
#include "message_box.h"
#include "ui_form1.h"
#include "whole_file.h"

namespace {

namespace fs = std::filesystem;

const QString kReadImage = QStringLiteral("画像を読み込む…");
const QString kWriteImage = QStringLiteral("画像を書き出す…");
const QString kNoCast = QStringLiteral("キャストのファイル名を入力してください");
const QString kNotOwnCast = QStringLiteral("自分で作成したデータ以外、画像を変更できません");
const QString kReadImageCaption = QStringLiteral("キャストの画像にする画像ファイルを選択");
const QString kWriteImageCaption = QStringLiteral("キャストの画像をPNGファイルに書き出す");
const QString kImageFilter = QStringLiteral("画像ファイル (%1);;すべてのファイル (*)");
const QString kPngFilter = QStringLiteral("PNG画像 (*.png)");
const std::string kNoImage = "画像ファイルではないか、壊れています";

fs::path ToPath(const QString& file) { return fs::path(file.toStdString()); }

// "*.png *.jpg ..." for every format the installed readers take.
QString ReadableImagePatterns() {
  QStringList patterns;
  for (const QByteArray& suffix : QImageReader::supportedImageFormats()) {
    patterns << QStringLiteral("*.") + QString::fromLatin1(suffix);
  }
  return patterns.join(QLatin1Char(' '));
}

// The desktop's file dialogs, each starting in the folder last used.
Form1::PictureFileChoices FileDialogs() {
  return {
      [folder = QDir::homePath()](QWidget* parent) mutable {
        const QString file =
            QFileDialog::getOpenFileName(parent, kReadImageCaption, folder, kImageFilter.arg(ReadableImagePatterns()));
        if (!file.isEmpty()) folder = QFileInfo(file).absolutePath();
        return file;
      },
      [folder = QDir::homePath()](QWidget* parent, const QString& suggested) mutable {
        const QString file =
            QFileDialog::getSaveFileName(parent, kWriteImageCaption, QDir(folder).filePath(suggested), kPngFilter);
        if (!file.isEmpty()) folder = QFileInfo(file).absolutePath();
        return file;
      },
  };
}

std::span<const std::uint8_t> AsBytes(const QByteArray& data) {
  return {reinterpret_cast<const std::uint8_t*>(data.constData()), static_cast<std::size_t>(data.size())};
}

QImage ImageOf(std::span<const std::uint8_t> bytes) {
  return QImage::fromData(
      QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
}

// Writes `image` as a PNG file at `path`, replacing it whole through the safe
// rewrite. castdata::Error naming the file and the reason when it cannot.
void WritePng(const QImage& image, const fs::path& path) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(image)) throw castdata::Error(castdata::CannotWrite(path, writer.errorString().toStdString()));
  std::string reason;
  if (!wholefile::Replace(path, AsBytes(png), &reason)) throw castdata::Error(castdata::CannotWrite(path, reason));
}

// The chosen name, ending in ".png" whatever the player typed.
QString WithPngSuffix(const QString& file) {
  return file.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) ? file : file + QStringLiteral(".png");
}

}  // namespace

void Form1::ConnectPictureImport() {
  QLabel* picture = ui_->Picture1;
  auto* read = new QAction(kReadImage, picture);
  auto* write = new QAction(kWriteImage, picture);
  picture->addAction(read);
  picture->addAction(write);
  picture->setContextMenuPolicy(Qt::ActionsContextMenu);
  connect(read, &QAction::triggered, this, [this] {
    if (!CastTakingPicture()) return;
    const QString file = pictureFileChoices_.imageToRead(this);
    if (!file.isEmpty()) ImportPicture(ToPath(file));
  });
  connect(write, &QAction::triggered, this, &Form1::ExportPicture);
  pictureFileChoices_ = FileDialogs();

  // Files are dropped on the window as a whole (form1_file_drops.cpp). The
  // text boxes would otherwise take a dropped file as text: its path typed
  // into the file-name box would load another cast.
  setAcceptDrops(true);
  for (QLineEdit* box : findChildren<QLineEdit*>()) box->setAcceptDrops(false);
}

std::optional<std::string> Form1::CastTakingPicture() {
  const QString name = ui_->cbFile->currentText();
  if (!ui_->SSTab1->isEnabled() || name.isEmpty()) {
    messagebox::Show(this, kNoCast);
    return std::nullopt;
  }
  if (!castdata::MaySaveCast(castOwnerNumber_, playerNumber_, shopMode_)) {
    messagebox::Show(this, kNotOwnCast);
    return std::nullopt;
  }
  return name.toStdString();
}

void Form1::ImportPicture(const fs::path& file) {
  const std::optional<std::string> name = CastTakingPicture();
  if (!name) return;
  try {
    const std::vector<std::uint8_t> picture = pictureimport::CastPictureFromImageFile(file);
    castdata::WriteCastPicture(*name, picture, game_);
    ui_->Picture1->setPixmap(QPixmap::fromImage(ImageOf(picture)));
  } catch (const std::exception& failure) {
    messagebox::Show(this, QString::fromStdString(failure.what()));
  }
}

// The picture written is the cast's picture file, not what Picture1 shows:
// after a new name has been typed the box still shows the cast loaded before.
void Form1::ExportPicture() {
  const QString name = ui_->cbFile->currentText();
  if (!ui_->SSTab1->isEnabled() || name.isEmpty()) {
    messagebox::Show(this, kNoCast);
    return;
  }
  try {
    const fs::path pictureFile = castdata::CastFilePath(name.toStdString(), ".bmp", game_);
    const QImage image = ImageOf(castdata::ReadFileBytes(pictureFile));
    if (image.isNull()) throw castdata::Error(castdata::CannotRead(pictureFile, kNoImage));
    const QString chosen = pictureFileChoices_.pngToWrite(this, name + QStringLiteral(".png"));
    if (chosen.isEmpty()) return;
    WritePng(image, ToPath(WithPngSuffix(chosen)));
  } catch (const std::exception& failure) {
    messagebox::Show(this, QString::fromStdString(failure.what()));
  }
}

// Form1's file drops and the cast packages the player names.
//
// Cast packages (*.ec, in any letter case) dropped anywhere on the window are
// imported as the start-up's scan imports the packages in the game folder,
// one message each; one image file dropped on Picture1 becomes the cast's
// picture (form1_picture_import.cpp). A drag that carries anything else (a
// web address, several images, an image away from Picture1) is not taken.
// A drop always copies: the file manager never deletes what was dropped.
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMetaObject>
#include <QMimeData>
#include <QTabWidget>
#include <QUrl>

#include <string>

#include "form1.h"
#include "message_box.h"
#include "package_scan.h"
#include "ui_form1.h"

namespace {

namespace fs = std::filesystem;

struct Drop {
  enum class Kind { kNothing, kPackages, kPicture };
  Kind kind = Kind::kNothing;
  std::vector<fs::path> files;
};

// What a drag carrying `data` at `position` (in the window's coordinates)
// would drop.
Drop WhatIsDropped(const QMimeData* data, const QWidget& form, const QWidget& picture, const QPoint& position) {
  Drop drop;
  if (data == nullptr || !data->hasUrls() || data->urls().isEmpty()) return drop;
  bool allPackages = true;
  for (const QUrl& url : data->urls()) {
    if (!url.isLocalFile()) return drop;
    const QString file = url.toLocalFile();
    allPackages = allPackages && file.endsWith(QStringLiteral(".ec"), Qt::CaseInsensitive);
    drop.files.push_back(fs::path(file.toStdString()));
  }
  const bool overPicture = picture.isVisibleTo(&form) && picture.rect().contains(picture.mapFrom(&form, position));
  if (allPackages) {
    drop.kind = Drop::Kind::kPackages;
  } else if (drop.files.size() == 1 && overPicture) {
    drop.kind = Drop::Kind::kPicture;
  }
  return drop;
}

// Takes the drag as a copy when it may be one; otherwise refuses it.
void AcceptAsCopy(QDropEvent* event, bool taken) {
  if (taken && (event->possibleActions() & Qt::CopyAction)) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace

void Form1::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void Form1::dragMoveEvent(QDragMoveEvent* event) {
  const Drop drop = WhatIsDropped(event->mimeData(), *this, *ui_->Picture1, event->position().toPoint());
  AcceptAsCopy(event, drop.kind != Drop::Kind::kNothing);
}

// The work is done once the drop has ended, so that the program the files
// came from is not kept waiting while a message box is open.
void Form1::dropEvent(QDropEvent* event) {
  const Drop drop = WhatIsDropped(event->mimeData(), *this, *ui_->Picture1, event->position().toPoint());
  AcceptAsCopy(event, drop.kind != Drop::Kind::kNothing);
  if (!event->isAccepted()) return;
  switch (drop.kind) {
    case Drop::Kind::kPackages:
      QMetaObject::invokeMethod(
          this, [this, files = drop.files] { ImportNamedPackages(files); }, Qt::QueuedConnection);
      break;
    case Drop::Kind::kPicture:
      QMetaObject::invokeMethod(
          this, [this, file = drop.files.front()] { ImportPicture(file); }, Qt::QueuedConnection);
      break;
    case Drop::Kind::kNothing:
      break;
  }
}

// The cast in the editor counts as replaced when a package brings a cast of
// its name, in any letter case, as the cast folder resolves names.
void Form1::ImportNamedPackages(const std::vector<fs::path>& packages) {
  const std::string inEditor = ui_->cbFile->currentText().toStdString();
  bool imported = false;
  bool castInEditorReplaced = false;
  for (const fs::path& package : packages) {
    const castdata::PackageImportOutcome outcome = castdata::ImportNamedPackage(package, game_);
    messagebox::Show(this, QString::fromStdString(outcome.message));
    if (!outcome.imported) continue;
    imported = true;
    castInEditorReplaced = castInEditorReplaced || platform::SameFileName(outcome.castName, inEditor);
  }
  if (!imported) return;
  RefreshCastList();
  if (castInEditorReplaced && ui_->SSTab1->isEnabled()) LoadCast();
}

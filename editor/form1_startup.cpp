// Form1's start-up and exit: shop mode from the command line, the package
// scan, the game files read through the scrambling library, the weapon lists.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <QTabWidget>
#include <QVariant>

#include <exception>
#include <filesystem>

#include "form1.h"
#include "game_files.h"
#include "message_box.h"
#include "package_scan.h"
#include "progress_data.h"
#include "scrambled_file.h"
#include "scrambling_library.h"
#include "ui_form1.h"
#include "weapon_catalogue.h"
#include "weapon_list_items.h"

namespace {

const QString kVersionMissingMessage =
    QStringLiteral("Orvalis～Zenthar～のバージョンが対応していません\rVersion1.32以上をインストールしてください");
const QString kProgressFileMissingMessage = QStringLiteral("Orvalis～Zenthar～を一度実行してください");
const QString kCatalogueMissingMessage =
    QStringLiteral("Orvalis～Zenthar～がインストールされているフォルダで実行してください");

// The one command-line switch: the arguments after the program's name, joined
// by one space, are exactly "Q".
bool AsksForShopMode(const QStringList& arguments) {
  return arguments.join(QLatin1Char(' ')) == QStringLiteral("Q");
}

// A missing game file ends the start-up: its message is shown, and written
// to standard error, and the window closes without having been shown.
void EndStartUp(QWidget* form, const QString& message) {
  messagebox::Show(form, message);
  messagebox::WriteToStandardError(message);
  form->close();
}

void AppendItems(QComboBox* list, const std::vector<castdata::ListItem>& items) {
  for (const castdata::ListItem& item : items) {
    list->addItem(QString::fromStdString(item.text), item.data);
  }
}

}  // namespace

void Form1::ConnectStartUpAndExit() {
  // Closing the window ends the program; nothing is saved and nothing asked.
  connect(ui_->Command1, &QPushButton::clicked, this, &QWidget::close);
}

bool Form1::StartUp(const QStringList& arguments, const std::vector<std::filesystem::path>& packages) {
  shopMode_ = false;
  ui_->SSTab1->setEnabled(false);

  if (AsksForShopMode(arguments)) {
    shopMode_ = true;
    ui_->VShop->setVisible(true);
    ui_->cmVShopPack->setVisible(true);
    ui_->sf->setVisible(true);
  } else {
    for (QLabel* derived : lbPar_) derived->setVisible(false);
  }

  // A package named on the command line that lies where the scan looks is
  // the scan's to import (and delete); this is decided before the scan runs.
  std::vector<std::filesystem::path> namedPackages;
  for (const std::filesystem::path& package : packages) {
    if (!castdata::IsScannedPackage(package, game_)) namedPackages.push_back(package);
  }

  // Each package's outcome is shown, and its box closed, before the next
  // import starts. An import that fails in an unforeseen way is reported
  // like a refused package, and the start-up goes on.
  try {
    castdata::ScanCastPackages(game_, [this](const castdata::PackageImportOutcome& outcome) {
      messagebox::Show(this, QString::fromStdString(outcome.message));
    });
  } catch (const std::exception& error) {
    messagebox::Show(this, QString::fromStdString(error.what()));
  }
  ImportNamedPackages(namedPackages);

  if (!castdata::VersionFileExists(game_)) {
    EndStartUp(this, kVersionMissingMessage);
    return false;
  }

  // The game files are read in memory and written, through the library's
  // FilePack and FileUnpack, only when they are not packed as those leave
  // them (castdata/scrambled_file.h); the library is loaded from the game
  // folder all the same, so that its absence is told. castdata packs a file
  // again on every way out, so an error never leaves it unscrambled.
  platform::ScramblingLibrary library;
  const castdata::ScramblerFunctions scrambler{
      [&library](const char* path) { return library.FilePack(path); },
      [&library](const char* path) { return library.FileUnpack(path); }, [&library] { library.Load(); }};
  castdata::WeaponCatalogue catalogue;
  try {
    if (!castdata::GameFileExists(castdata::kProgressFilePath, game_)) {
      EndStartUp(this, kProgressFileMissingMessage);
      return false;
    }
    castdata::ProgressData progress = castdata::ReadProgressData(
        castdata::ReadGameFile(game_.Resolve(castdata::kProgressFilePath), scrambler));
    playerNumber_ = progress.playerNumber;

    if (!castdata::GameFileExists(castdata::kWeaponCataloguePath, game_)) {
      EndStartUp(this, kCatalogueMissingMessage);
      return false;
    }
    const std::filesystem::path catalogueFile = game_.Resolve(castdata::kWeaponCataloguePath);
    castdata::ReadWeaponCatalogue(castdata::ReadGameFile(catalogueFile, scrambler),
                                  catalogueFile.generic_string(), shopMode_, progress, catalogue);
  } catch (const std::exception& error) {
    // The window opens with the lists as far as the catalogue was read.
    FillWeaponLists(catalogue);
    messagebox::Show(this, QString::fromStdString(error.what()));
    return true;
  }
  FillWeaponLists(catalogue);
  return true;
}

void Form1::FillWeaponLists(const castdata::WeaponCatalogue& catalogue) {
  if (shopMode_) AppendItems(ui_->VShop, castdata::ShopItems(catalogue));
  for (int category = 0; category < static_cast<int>(Wpn_.size()); ++category) {
    AppendItems(Wpn_[category], castdata::WeaponSlotItems(catalogue, category));
  }
}

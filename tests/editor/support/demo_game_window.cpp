#include "demo_game_window.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSlider>
#include <QTabWidget>

#include "demo_game.h"
#include "game_files.h"
#include "message_box_answerer.h"
#include "progress_data.h"
#include "scrambled_file.h"
#include "weapon_catalogue.h"

namespace fs = std::filesystem;

namespace windowtest {

DemoGameFolder::DemoGameFolder() : previous_(fs::current_path()) {
  gamefixture::MakeDemoGame(folder_.path());
  fs::current_path(folder_.path());
}

DemoGameFolder::~DemoGameFolder() { fs::current_path(previous_); }

gamefixture::FolderTree DemoGameFolder::Snapshot() const { return gamefixture::SnapshotFolder(folder_.path()); }

std::unique_ptr<Form1> MakeDemoForm(bool shopMode) {
  auto form = std::make_unique<Form1>();
  form->SetShopMode(shopMode);
  castdata::ProgressData progress =
      castdata::ReadProgressData(castdata::ReadGameFileInMemory(castdata::kProgressFilePath));
  form->SetPlayerNumber(progress.playerNumber);
  castdata::WeaponCatalogue catalogue;
  castdata::ReadWeaponCatalogue(castdata::ReadGameFileInMemory(castdata::kWeaponCataloguePath),
                                castdata::kWeaponCataloguePath, shopMode, progress, catalogue);
  form->FillWeaponLists(catalogue);
  Find<QTabWidget>(*form, "SSTab1")->setEnabled(false);
  return form;
}

QStringList Messages(const std::function<void()>& action, std::deque<QMessageBox::StandardButton> answers) {
  MessageBoxAnswerer answerer(std::move(answers));
  action();
  return answerer.Texts();
}

QStringList TypeName(Form1& form, const QString& name) {
  return Messages([&] { Find<QComboBox>(form, "cbFile")->setEditText(name); });
}

void MakeSavableNewCast(Form1& form, const QString& name) {
  TypeName(form, name);
  Find<QLineEdit>(form, "TxName")->setText(QStringLiteral("新型"));
  for (int k = 1; k < 6; ++k) form.Wpn(k)->setCurrentIndex(0);
  for (int i = 0; i < 4; ++i) form.slPar(i)->setValue(25);
}

}  // namespace windowtest

// Form1, the editor's one window. Its controls are described in form1.ui and
// carry their names as objectName; between a load and a save the cast lives
// in these controls and nowhere else.
//
// The window's behaviour is split into files by command, each a part of this
// class: form1_sliders.cpp (the slider handlers and the pool clamp),
// form1_startup.cpp (start-up and exit), form1_saveload.cpp (the cast list,
// the load, the save command and the save routine), form1_upload.cpp,
// form1_picture_help.cpp, form1_picture_import.cpp (an image made the cast
// picture, the picture written as PNG), form1_file_drops.cpp (files dropped
// on the window, cast packages named by the player), form1_keyboard.cpp (the
// shortcuts) and form1_accessibility.cpp (the names screen readers give the
// controls). Each file connects the events of its own controls from a
// Connect... function that the constructor calls.
#pragma once

#include <QStringList>
#include <QWidget>

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cast_rules.h"
#include "game_folder.h"
#include "weapon_catalogue.h"

class QComboBox;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QLabel;
class QLineEdit;
class QSlider;

namespace Ui {
class Form1;
}

class Form1 : public QWidget {
  Q_OBJECT

 public:
  explicit Form1(QWidget* parent = nullptr);
  ~Form1() override;

  // The control families, member i of each (indices from 0; an index out of
  // range throws std::out_of_range).
  QSlider* slMove(int i) const { return slMove_.at(i); }      // 0-8
  QSlider* slPar(int i) const { return slPar_.at(i); }        // 0-3
  QSlider* slWPrsnt(int i) const { return slWPrsnt_.at(i); }  // 0-4
  QLabel* lbMove(int i) const { return lbMove_.at(i); }       // 0-8
  QLabel* lbPar(int i) const { return lbPar_.at(i); }         // 0-3
  QLabel* lbPar2(int i) const { return lbPar2_.at(i); }       // 0-3
  QLabel* lbWPrsnt(int i) const { return lbWPrsnt_.at(i); }   // 0-4
  QLineEdit* TxCom(int i) const { return TxCom_.at(i); }      // 0-2
  QComboBox* Wpn(int i) const { return Wpn_.at(i); }          // 0-5

  // The form-level state shared by the commands.
  bool ShopMode() const { return shopMode_; }
  // Set once by the start-up from the command line; tests that skip the
  // start-up set it themselves.
  void SetShopMode(bool on) { shopMode_ = on; }
  std::int16_t PlayerNumber() const { return playerNumber_; }
  // Set once by the start-up from the progress file; likewise for tests.
  void SetPlayerNumber(std::int16_t number) { playerNumber_ = number; }
  std::int16_t CastOwnerNumber() const { return castOwnerNumber_; }
  std::int16_t CastSerial() const { return castSerial_; }

  // The parameter handler: writes the derived value lbPar(index), the share
  // lbPar2(index), the rest of the pool lbZan and ProgressBar. The value
  // change of slPar(index) runs it; the load also calls it with index 0 so
  // that the pool display is right when no parameter changed.
  void OnSlParChanged(int index);

  // Cuts the four unit parameters back to a total of 100 (the load after
  // setting them, the save before reading them); does nothing in shop mode.
  void ClampParameterPool();

  // Appends the catalogue's listed weapons to the six weapon-slot lists and,
  // in shop mode, to VShop, with their item data (the unusable mark, the shop
  // item code). The start-up calls it; tests that skip the start-up too.
  void FillWeaponLists(const castdata::WeaponCatalogue& catalogue);

  // The start-up sequence, run once before the window is shown, with the
  // program's arguments after its name (the packages left out). The
  // `packages` named on the command line are imported right after the
  // package scan, as ImportNamedPackages does; one the scan has imported
  // already is not imported twice. False when a missing game file ended it:
  // its message has been shown and the program ends without showing the
  // window.
  bool StartUp(const QStringList& arguments, const std::vector<std::filesystem::path>& packages = {});

  // The load of the cast named by cbFile's text, or the reset to a new cast.
  void LoadCast();

  // The save routine: checks the controls and writes the cast's files; true
  // when the cast was written completely. The save command and the upload
  // run it. `mayWrite`, when given, is asked once every check has passed and
  // before anything is written; when it answers false (having said why) the
  // routine writes nothing and reports failure.
  bool SaveCast(const std::function<bool()>& mayWrite = {});

  // Imports the cast packages the player named (dropped on the window, named
  // on the command line) one after the other, each outcome in a message of
  // its own, as the start-up's scan does; a package outside the game folder
  // is never deleted. Then refreshes the cast list, and loads the cast in the
  // editor again when a package replaced it.
  void ImportNamedPackages(const std::vector<std::filesystem::path>& packages);

  // Makes the image file `file` the picture of the cast in the editor
  // (cast/NAME.bmp) and shows it; refusals and failures are said, and then
  // nothing is written. A drop on Picture1 and its menu run it.
  void ImportPicture(const std::filesystem::path& file);

  // The file dialogs of Picture1's menu: the image to read, and the PNG file
  // to write (offered a suggested file name); each answers an empty text when
  // the player chose nothing. Tests put their own answers in.
  struct PictureFileChoices {
    std::function<QString(QWidget* parent)> imageToRead;
    std::function<QString(QWidget* parent, const QString& suggested)> pngToWrite;
  };
  void SetPictureFileChoices(PictureFileChoices choices) { pictureFileChoices_ = std::move(choices); }

 protected:
  // Files dropped on the window: cast packages anywhere on it, one image on
  // Picture1.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void ConnectSliders();
  void ConnectStartUpAndExit();
  void ConnectSaveAndLoad();
  void ConnectUpload();
  void ConnectPictureAndHelp();
  void ConnectKeyboard();
  void NameControlsForScreenReaders();
  void KeepTheWindowSteady();
  void ConnectPictureImport();
  // The name of the cast in the editor when its picture may be changed;
  // otherwise nullopt, having said why not.
  std::optional<std::string> CastTakingPicture();
  void ExportPicture();
  void RefreshCastList();
  void OnCbFileChange();
  void OnSaveClick();
  void OnCmPackClick();
  void OnPicture1DoubleClick();
  void OnHelpClick();
  void ResetToNewCast();
  void LoadExistingCast(const std::string& name);
  void SetCastDataShown(bool shown);
  void SelectFirstWeaponOutsideShopMode();
  void OnSlMoveChanged(int index);
  void OnSlWPrsntChanged(int index);
  void OnSlRangeChanged();

  std::unique_ptr<Ui::Form1> ui_;

  std::array<QSlider*, 9> slMove_{};
  std::array<QSlider*, 4> slPar_{};
  std::array<QSlider*, 5> slWPrsnt_{};
  std::array<QLabel*, 9> lbMove_{};
  std::array<QLabel*, 4> lbPar_{};
  std::array<QLabel*, 4> lbPar2_{};
  std::array<QLabel*, 5> lbWPrsnt_{};
  std::array<QLineEdit*, 3> TxCom_{};
  std::array<QComboBox*, 6> Wpn_{};

  // The game folder: the working folder, its names found in any letter case.
  const platform::GameFolder game_;
  // Shop mode relaxes the ownership rule, the pool clamp and the weapon
  // availability rule; set at start-up and never changed afterwards.
  bool shopMode_ = false;
  // The player's own number, read from the progress file at start-up.
  std::int16_t playerNumber_ = 0;
  // Owner number and serial of the cast in the editor, set by every load.
  std::int16_t castOwnerNumber_ = 0;
  std::int16_t castSerial_ = 0;
  castdata::CastSerialSource serialSource_;
  // Changes of cbFile's text so far, and their count when its list last
  // opened: a pick from the list that leaves the text as it was raises no
  // text change, so the pick itself loads then.
  long cbFileTextChanges_ = 0;
  long cbFileTextChangesWhenListOpened_ = -1;
  // On while the movement or the weapon-share handler writes its group back,
  // so that the value changes it raises only update their own labels.
  bool movementRebalancing_ = false;
  bool weaponShareRebalancing_ = false;
  PictureFileChoices pictureFileChoices_;
};

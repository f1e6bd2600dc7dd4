// Form1's cast list, load, save command and save routine: the way between the
// file-name box cbFile, the controls and the cast files in cast/.
//
// The load runs at every change of cbFile's text; a name without a profile
// file (or one that cannot name a file in cast/) resets the controls to a new
// cast. A failure stops the load where it happens and is shown; the values
// set before it stay.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabWidget>

#include <array>
#include <cstddef>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cast_data_file.h"
#include "cast_file_path.h"
#include "cast_folder.h"
#include "cast_name.h"
#include "cast_name_box.h"
#include "cast_picture_file.h"
#include "cast_profile.h"
#include "cast_rules.h"
#include "cast_save.h"
#include "error.h"
#include "field_conversion.h"
#include "form1.h"
#include "message_box.h"
#include "sjis.h"
#include "ui_form1.h"
#include "weapon_list_items.h"

namespace {

const QString kHiddenDataMode = QStringLiteral("データ非表示モード");

// Outside shop mode the first weapon slot of every cast holds list index 12,
// whatever was chosen or stored.
constexpr int kFirstWeaponOutsideShopMode = 12;

QString Decimal(std::int16_t value) { return QString::fromStdString(castdata::DecimalText(value)); }

// Sets every slider of a group to 0 first, then each to its value in index
// order, so the handlers see the group build up from nothing.
template <std::size_t N>
void SetGroup(const std::array<QSlider*, N>& sliders, const std::array<std::int16_t, N>& values) {
  for (QSlider* slider : sliders) slider->setValue(0);
  for (std::size_t k = 0; k < N; ++k) sliders[k]->setValue(values[k]);
}

}  // namespace

void Form1::ConnectSaveAndLoad() {
  auto* file = static_cast<CastNameBox*>(ui_->cbFile);
  connect(file, &CastNameBox::listAboutToOpen, this, [this] {
    RefreshCastList();
    cbFileTextChangesWhenListOpened_ = cbFileTextChanges_;
  });
  connect(file, &QComboBox::editTextChanged, this, [this] {
    ++cbFileTextChanges_;
    OnCbFileChange();
  });
  connect(file, &QComboBox::activated, this, [this] {
    if (cbFileTextChanges_ == cbFileTextChangesWhenListOpened_) OnCbFileChange();
  });
  connect(ui_->Save, &QPushButton::clicked, this, &Form1::OnSaveClick);
}

// The list is cleared and refilled; the typed text stays as it is and its
// refresh loads nothing.
void Form1::RefreshCastList() {
  QComboBox* file = ui_->cbFile;
  const QString text = file->currentText();
  std::vector<std::string> names;
  QString failure;
  try {
    names = castdata::ListCasts(game_);
  } catch (const std::exception& error) {
    failure = QString::fromStdString(error.what());
  }
  {
    const QSignalBlocker quiet(file);
    file->clear();
    for (const std::string& name : names) file->addItem(QString::fromStdString(name));
    file->setCurrentIndex(file->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    file->setEditText(text);
  }
  if (!failure.isEmpty()) messagebox::Show(this, failure);
}

void Form1::OnCbFileChange() {
  if (ui_->cbFile->currentText().isEmpty()) {
    ui_->SSTab1->setEnabled(false);
    return;
  }
  ui_->SSTab1->setEnabled(true);
  LoadCast();
}

void Form1::SetCastDataShown(bool shown) {
  for (QWidget* control : std::initializer_list<QWidget*>{ui_->Frame5, ui_->Frame7, ui_->Frame8, ui_->Frame9,
                                                          ui_->Frame10, ui_->Frame11, ui_->Frame13, ui_->Check1}) {
    control->setVisible(shown);
  }
}

// A list shorter than the index leaves the slot without a weapon, which the
// save routine then asks for.
void Form1::SelectFirstWeaponOutsideShopMode() {
  QComboBox* slot = Wpn(0);
  slot->setCurrentIndex(kFirstWeaponOutsideShopMode < slot->count() ? kFirstWeaponOutsideShopMode : -1);
}

void Form1::LoadCast() {
  const std::string name = ui_->cbFile->currentText().toStdString();
  try {
    SetCastDataShown(false);
    if (castdata::CastNameProblem(name) || !castdata::CastExists(name, game_)) {
      ResetToNewCast();
    } else {
      LoadExistingCast(name);
    }
  } catch (const std::exception& failure) {
    messagebox::Show(this, QString::fromStdString(failure.what()));
  }
}

// The check boxes, the record, the e-mail address and the picture keep what
// they showed.
void Form1::ResetToNewCast() {
  ui_->TxName->clear();
  for (QLineEdit* line : TxCom_) line->clear();
  ui_->TxMaker->clear();
  for (QComboBox* slot : Wpn_) slot->setCurrentIndex(-1);
  for (QLabel* derived : lbPar_) derived->setText(QStringLiteral("0"));
  if (!shopMode_) SelectFirstWeaponOutsideShopMode();

  ui_->slRange->setValue(0);  // the slider holds its minimum, 20
  for (QSlider* slider : slWPrsnt_) slider->setValue(0);
  for (QSlider* slider : slMove_) slider->setValue(0);
  for (QSlider* slider : slPar_) slider->setValue(0);

  ui_->lbLevel->setText(QStringLiteral("20"));
  ui_->TxZan->setText(QStringLiteral("80"));
  ui_->TxRen->setText(QStringLiteral("4"));
  ui_->TxDame->setText(QStringLiteral("500"));

  castOwnerNumber_ = playerNumber_;
  castSerial_ = serialSource_.Draw();

  OnSlParChanged(0);
  ClampParameterPool();
  SetCastDataShown(true);
  ui_->lbInfo->clear();
}

// The fields go into the controls in slot order. The owner number is 0 until
// the file's own is read, so a load that fails before it leaves a cast that
// the save command refuses.
void Form1::LoadExistingCast(const std::string& name) {
  castOwnerNumber_ = 0;
  const castdata::CastRecord record = castdata::ReadCastData(name, game_);

  for (std::size_t k = 0; k < Wpn_.size(); ++k) {
    const int index = record.weaponIndex[k];
    if (index < -1 || index >= Wpn_[k]->count()) {
      throw castdata::Error(castdata::CannotRead(castdata::CastFilePath(name, ".dat", game_),
                                                 "Wpn(" + std::to_string(k) + ")のリストに項目番号" +
                                                     std::to_string(index) + "はありません"));
    }
    Wpn_[k]->setCurrentIndex(index);
  }
  for (std::size_t i = 0; i < lbPar_.size(); ++i) lbPar_[i]->setText(Decimal(record.paramValue[i]));
  ui_->slRange->setValue(record.keepDistance);
  SetGroup(slWPrsnt_, record.weaponShare);
  SetGroup(slMove_, record.movePattern);
  SetGroup(slPar_, record.paramPoints);

  castOwnerNumber_ = castdata::OwnerOnLoad(record.ownerNumber, playerNumber_);
  if (!shopMode_) SelectFirstWeaponOutsideShopMode();

  ui_->Check1->setChecked(castdata::IsTicked(record.hideData));
  if (castdata::EntersHiddenDataMode(castOwnerNumber_, playerNumber_, record.hideData)) {
    ui_->lbInfo->setText(kHiddenDataMode);
  } else {
    SetCastDataShown(true);
    ui_->lbInfo->clear();
  }

  ui_->Check2->setChecked(castdata::IsTicked(record.advanceOnEnemyOverheat));
  ui_->Check3->setChecked(castdata::IsTicked(record.retreatOnOwnOverheat));
  ui_->Check4->setChecked(castdata::IsTicked(record.specialOnEnemyOverheat));
  const castdata::WinsAndLosses shown = castdata::RecordOnLoad(record.wins, record.losses, record.recordCheck);
  ui_->lbWin->setText(Decimal(shown.wins));
  ui_->lbLost->setText(Decimal(shown.losses));
  ui_->lbLevel->setText(Decimal(record.level));
  ui_->TxZan->setText(Decimal(record.weaponStopPercent));
  castSerial_ = serialSource_.OnLoad(record.serial);
  ui_->TxRen->setText(Decimal(record.defendAfterHits));
  ui_->ChTama->setChecked(castdata::IsTicked(record.dodgeSideways));
  ui_->TxDame->setText(Decimal(record.defendDamageThreshold));
  ui_->Check5->setChecked(castdata::IsTicked(record.specialAfterThreeCharges));
  ui_->Check6->setChecked(castdata::IsTicked(record.defendSuddenAttacks));

  const castdata::CastProfile profile = castdata::ReadCastProfile(name, game_);
  ui_->TxName->setText(QString::fromStdString(profile.Name));
  TxCom(0)->setText(QString::fromStdString(profile.Comm1));
  TxCom(1)->setText(QString::fromStdString(profile.Comm2));
  TxCom(2)->setText(QString::fromStdString(profile.Comm3));
  ui_->TxMaker->setText(QString::fromStdString(profile.Maker));
  ui_->TxEmail->setText(QString::fromStdString(profile.EMail));

  castdata::EnsureCastPicture(name, game_);
  const std::filesystem::path picture = castdata::CastFilePath(name, ".bmp", game_);
  QString reason;
  const QImage image = ReadCastPictureFile(QString::fromStdString(picture.string()), reason);
  if (image.isNull()) throw castdata::Error(castdata::CannotRead(picture, reason.toStdString()));
  ui_->Picture1->setPixmap(QPixmap::fromImage(image));

  OnSlParChanged(0);
  ClampParameterPool();
}

namespace {

const QString kNotOwnCast = QStringLiteral("自分で作成したデータ以外、保存できません");
const QString kSaved = QStringLiteral("保存終了");
const QString kNoUnitName = QStringLiteral("機体名が入力されていません");
const QString kNoFileName = QStringLiteral("ファイル名が入力されていません");
const QString kFileNameTooLong = QStringLiteral("ファイル名は英数字8文字以内にしてください");
const QString kFileNameWithoutShiftJis = QStringLiteral("ファイル名「%1」にShift-JISで表せない文字が含まれています");
const QString kNoWeapon = QStringLiteral("武装が選択されていません");
const QString kUnusableWeapon = QStringLiteral("使用不能武装が選択されています");
const QString kAdjustParameters = QStringLiteral("パラメータを調整してください");
const QString kNoDefaultPicture = QStringLiteral("cast/def.bmpが見つかりません");
// The field as the window labels it, then the character and its code point;
// a control character is shown by its code point alone.
const QString kUnstorableCharacter = QStringLiteral("%1に保存できない文字「%2」(U+%3)が含まれています");
const QString kUnstorableControlCharacter = QStringLiteral("%1に保存できない文字(U+%2)が含まれています");

constexpr qsizetype kLongestCastName = 8;
constexpr int kPropertiesPage = 0;
constexpr int kWeaponsPage = 1;
constexpr int kParametersPage = 3;
constexpr int kBehaviourPage = 4;
constexpr int kDefencePage = 5;

// Shows where the problem is (its page in front, the focus on its control,
// either left out when null) and then says what it is.
bool Refuse(QWidget* parent, QTabWidget* tabs, std::optional<int> page, QWidget* focus, const QString& message) {
  if (page) tabs->setCurrentIndex(*page);
  if (focus != nullptr) focus->setFocus();
  messagebox::Show(parent, message);
  return false;
}

std::int16_t NumberIn(const QString& text, const char* field) {
  return castdata::NumberField(text.toStdString(), field);
}

// Why the text of the field `field` cannot go into the cast profile file, or
// nothing: the file is Shift-JIS with one value a line, so a character
// without a Shift-JIS form, a line break and a NUL cannot be stored.
std::optional<QString> UnstorableTextProblem(const QString& text, const QString& field) {
  for (const char32_t character : text.toUcs4()) {
    const QString one = QString::fromUcs4(&character, 1);
    const bool storable = character != U'\0' && character != U'\r' && character != U'\n' &&
                          sjis::FromUtf8(one.toStdString()).has_value();
    if (storable) continue;
    const QString codePoint = QStringLiteral("%1").arg(static_cast<uint>(character), 4, 16, QLatin1Char('0')).toUpper();
    if (QChar::isPrint(character)) return kUnstorableCharacter.arg(field, one, codePoint);
    return kUnstorableControlCharacter.arg(field, codePoint);
  }
  return std::nullopt;
}

}  // namespace

void Form1::OnSaveClick() {
  if (!castdata::MaySaveCast(castOwnerNumber_, playerNumber_, shopMode_)) {
    messagebox::Show(this, kNotOwnCast);
    return;
  }
  if (SaveCast()) messagebox::Show(this, kSaved);
}

bool Form1::SaveCast(const std::function<bool()>& mayWrite) {
  QTabWidget* tabs = ui_->SSTab1;
  if (ui_->TxName->text().isEmpty()) return Refuse(this, tabs, {}, ui_->TxName, kNoUnitName);
  const QString fileName = ui_->cbFile->currentText();
  if (fileName.isEmpty()) return Refuse(this, tabs, {}, ui_->cbFile, kNoFileName);
  if (fileName.toUcs4().size() > kLongestCastName) return Refuse(this, tabs, {}, ui_->cbFile, kFileNameTooLong);
  const std::string name = fileName.toStdString();
  if (const std::optional<std::string> problem = castdata::CastNameProblem(name)) {
    return Refuse(this, tabs, {}, ui_->cbFile, QString::fromStdString(*problem));
  }
  // The game's files name a cast in Shift-JIS: a name without that form could
  // never travel in a package or be read by the game.
  if (!sjis::FromUtf8(name)) return Refuse(this, tabs, {}, ui_->cbFile, kFileNameWithoutShiftJis.arg(fileName));
  for (QComboBox* slot : Wpn_) {
    if (slot->currentIndex() < 0) return Refuse(this, tabs, kWeaponsPage, slot, kNoWeapon);
    if (slot->currentData().toInt() == castdata::kUnusableMark) return Refuse(this, tabs, kWeaponsPage, slot, kUnusableWeapon);
  }
  ClampParameterPool();
  for (QLabel* derived : lbPar_) {
    if (castdata::LeadingNumber(derived->text().toStdString()) == 0) {
      return Refuse(this, tabs, kParametersPage, nullptr, kAdjustParameters);
    }
  }

  castdata::CastRecord record;
  // A number that its 16-bit field cannot hold is refused here, before
  // anything is written, rather than stored wrapped.
  const struct {
    QLineEdit* box;
    int page;
    const char* field;
    std::int16_t castdata::CastRecord::*member;
  } numberBoxes[] = {
      {ui_->TxZan, kBehaviourPage, "武器の使用を停止する理力(%)", &castdata::CastRecord::weaponStopPercent},
      {ui_->TxRen, kDefencePage, "防御するまでの連続ダメージ回数", &castdata::CastRecord::defendAfterHits},
      {ui_->TxDame, kDefencePage, "防御する攻撃の総ダメージ数", &castdata::CastRecord::defendDamageThreshold},
  };
  for (const auto& number : numberBoxes) {
    try {
      record.*number.member = NumberIn(number.box->text(), number.field);
    } catch (const castdata::Error& error) {
      return Refuse(this, tabs, number.page, number.box, QString::fromStdString(error.what()));
    }
  }

  // The six texts of the profile file, refused here, before anything is
  // written, with the field named as the window labels it.
  const struct {
    QLineEdit* box;
    QString field;
  } textBoxes[] = {
      {ui_->TxName, ui_->Frame1->title()}, {TxCom(0), ui_->Frame2->title()},   {TxCom(1), ui_->Frame2->title()},
      {TxCom(2), ui_->Frame2->title()},    {ui_->TxMaker, ui_->Frame4->title()}, {ui_->TxEmail, ui_->Frame12->title()},
  };
  for (const auto& text : textBoxes) {
    if (const std::optional<QString> problem = UnstorableTextProblem(text.box->text(), text.field)) {
      return Refuse(this, tabs, kPropertiesPage, text.box, *problem);
    }
  }

  try {
    for (std::size_t k = 0; k < Wpn_.size(); ++k) {
      record.weaponIndex[k] = static_cast<std::int16_t>(Wpn_[k]->currentIndex());
    }
    for (std::size_t i = 0; i < lbPar_.size(); ++i) record.paramValue[i] = NumberIn(lbPar_[i]->text(), "lbPar");
    record.keepDistance = static_cast<std::int16_t>(ui_->slRange->value());
    for (std::size_t j = 0; j < slWPrsnt_.size(); ++j) {
      record.weaponShare[j] = static_cast<std::int16_t>(slWPrsnt_[j]->value());
    }
    for (std::size_t m = 0; m < slMove_.size(); ++m) {
      record.movePattern[m] = static_cast<std::int16_t>(slMove_[m]->value());
    }
    for (std::size_t i = 0; i < slPar_.size(); ++i) {
      record.paramPoints[i] = static_cast<std::int16_t>(slPar_[i]->value());
    }
    record.ownerNumber = castdata::OwnerToSave(castOwnerNumber_, playerNumber_, shopMode_);
    record.hideData = castdata::CheckBoxField(ui_->Check1->isChecked());
    record.advanceOnEnemyOverheat = castdata::CheckBoxField(ui_->Check2->isChecked());
    record.retreatOnOwnOverheat = castdata::CheckBoxField(ui_->Check3->isChecked());
    record.specialOnEnemyOverheat = castdata::CheckBoxField(ui_->Check4->isChecked());
    record.wins = NumberIn(ui_->lbWin->text(), "lbWin");
    record.losses = NumberIn(ui_->lbLost->text(), "lbLost");
    record.recordCheck = castdata::ComputeRecordCheck(record.wins, record.losses);
    record.level = NumberIn(ui_->lbLevel->text(), "lbLevel");
    record.serial = castSerial_;
    record.dodgeSideways = castdata::CheckBoxField(ui_->ChTama->isChecked());
    record.specialAfterThreeCharges = castdata::CheckBoxField(ui_->Check5->isChecked());
    record.defendSuddenAttacks = castdata::CheckBoxField(ui_->Check6->isChecked());

    const castdata::CastProfile profile{ui_->TxName->text().toStdString(),  TxCom(0)->text().toStdString(),
                                        TxCom(1)->text().toStdString(),     TxCom(2)->text().toStdString(),
                                        ui_->TxMaker->text().toStdString(), ui_->TxEmail->text().toStdString()};
    if (mayWrite && !mayWrite()) return false;
    castdata::WriteCastFiles(name, record, profile, game_);
    if (!castdata::DefaultPictureExists(game_)) {
      messagebox::Show(this, kNoDefaultPicture);
      return false;
    }
    castdata::EnsureCastPicture(name, game_);
  } catch (const std::exception& failure) {
    messagebox::Show(this, QString::fromStdString(failure.what()));
    return false;
  }
  return true;
}

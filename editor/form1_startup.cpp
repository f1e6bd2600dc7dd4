// Form1's start-up and exit: the weapon lists filled from the catalogue.
#include <QComboBox>
#include <QString>
#include <QVariant>

#include "form1.h"
#include "ui_form1.h"
#include "weapon_list_items.h"

namespace {

void AppendItems(QComboBox* list, const std::vector<castdata::ListItem>& items) {
  for (const castdata::ListItem& item : items) {
    list->addItem(QString::fromStdString(item.text), item.data);
  }
}

}  // namespace

void Form1::FillWeaponLists(const castdata::WeaponCatalogue& catalogue) {
  if (shopMode_) AppendItems(ui_->VShop, castdata::ShopItems(catalogue));
  for (int category = 0; category < static_cast<int>(Wpn_.size()); ++category) {
    AppendItems(Wpn_[category], castdata::WeaponSlotItems(catalogue, category));
  }
}

// The slider handlers and the pool clamp.
//
// The movement shares slMove(0-8) and the weapon shares slWPrsnt(0-3) are
// each held at a total of at most 100 by their handler; the four unit
// parameters slPar(0-3) share a pool of 100 points that the handler only
// shows and the pool clamp enforces. The handlers work on copies of a group's
// values in signed 16-bit integers, the width of the cast file's fields, and
// write every member back; each write that changes a value raises that
// member's handler at once, inside the write, which the rebalancing guards
// cut short to its label update.
#include <QLabel>
#include <QProgressBar>
#include <QSlider>

#include <array>
#include <cstddef>
#include <cstdint>

#include "derived_values.h"
#include "form1.h"
#include "ui_form1.h"

namespace {

// A fixed number of passes, more than the largest overdraft needs (nine
// members at 100 need 100 passes, four parameters at 100 need 75 sweeps).
constexpr int kRebalancePasses = 501;
constexpr std::int16_t kBudget = 100;

QString Percent(int value) { return QString::number(value) + QLatin1Char('%'); }

// A value label shows its slider's value; a screen reader reads the same text
// as the slider's description.
void ShowValue(QLabel* label, QSlider* slider, const QString& text) {
  label->setText(text);
  slider->setAccessibleDescription(text);
}

template <std::size_t N>
std::int16_t Total(const std::array<std::int16_t, N>& values) {
  std::int16_t total = 0;
  for (std::int16_t value : values) total = static_cast<std::int16_t>(total + value);
  return total;
}

// One point is taken from every member but `moved` that still has points, in
// each pass whose total is over the budget, so the total may end below 100.
// `moved` outside the group excludes no member.
template <std::size_t N>
void Rebalance(std::array<std::int16_t, N>& shares, int moved) {
  for (int pass = 0; pass < kRebalancePasses; ++pass) {
    if (Total(shares) <= kBudget) continue;
    for (std::size_t k = 0; k < N; ++k) {
      if (shares[k] > 0 && static_cast<int>(k) != moved) --shares[k];
    }
  }
}

}  // namespace

void Form1::ConnectSliders() {
  for (int i = 0; i < static_cast<int>(slPar_.size()); ++i) {
    connect(slPar(i), &QSlider::valueChanged, this, [this, i] { OnSlParChanged(i); });
  }
  for (int i = 0; i < static_cast<int>(slMove_.size()); ++i) {
    connect(slMove(i), &QSlider::valueChanged, this, [this, i] { OnSlMoveChanged(i); });
  }
  for (int i = 0; i < static_cast<int>(slWPrsnt_.size()); ++i) {
    connect(slWPrsnt(i), &QSlider::valueChanged, this, [this, i] { OnSlWPrsntChanged(i); });
  }
  connect(ui_->slRange, &QSlider::valueChanged, this, [this] { OnSlRangeChanged(); });
}

void Form1::OnSlParChanged(int index) {
  const int value = slPar(index)->value();
  lbPar(index)->setText(QString::number(castdata::DerivedParameterValue(index, value)));
  ShowValue(lbPar2(index), slPar(index), Percent(value));

  std::array<std::int16_t, 4> parameters{};
  for (std::size_t k = 0; k < parameters.size(); ++k) {
    parameters[k] = static_cast<std::int16_t>(slPar(static_cast<int>(k))->value());
  }
  const auto rest = static_cast<std::int16_t>(kBudget - Total(parameters));
  ui_->lbZan->setText(Percent(rest));
  ui_->ProgressBar->setValue(rest >= 0 ? rest : 0);
}

void Form1::OnSlMoveChanged(int index) {
  ShowValue(lbMove(index), slMove(index), Percent(slMove(index)->value()));
  if (movementRebalancing_) return;
  movementRebalancing_ = true;

  std::array<std::int16_t, 9> shares{};
  for (std::size_t k = 0; k < shares.size(); ++k) {
    shares[k] = static_cast<std::int16_t>(slMove(static_cast<int>(k))->value());
  }
  Rebalance(shares, index);
  for (std::size_t k = 0; k < shares.size(); ++k) {
    slMove(static_cast<int>(k))->setValue(shares[k]);
  }

  movementRebalancing_ = false;
}

// Members 0-3 are the weapon shares; member 4, the defence rate, shares the
// handler but not the budget, so moving it excludes none of 0-3.
void Form1::OnSlWPrsntChanged(int index) {
  ShowValue(lbWPrsnt(index), slWPrsnt(index), Percent(slWPrsnt(index)->value()));
  if (weaponShareRebalancing_) return;
  weaponShareRebalancing_ = true;

  std::array<std::int16_t, 4> shares{};
  for (std::size_t k = 0; k < shares.size(); ++k) {
    shares[k] = static_cast<std::int16_t>(slWPrsnt(static_cast<int>(k))->value());
  }
  Rebalance(shares, index);
  for (std::size_t k = 0; k < shares.size(); ++k) {
    slWPrsnt(static_cast<int>(k))->setValue(shares[k]);
  }

  weaponShareRebalancing_ = false;
}

void Form1::OnSlRangeChanged() { ShowValue(ui_->lbRange, ui_->slRange, QString::number(ui_->slRange->value())); }

// The total is recomputed before every single cut, so an overspent pool ends
// at exactly 100, the cuts taken in turn from index 0 upwards.
void Form1::ClampParameterPool() {
  if (shopMode_) return;

  std::array<std::int16_t, 4> parameters{};
  for (std::size_t k = 0; k < parameters.size(); ++k) {
    parameters[k] = static_cast<std::int16_t>(slPar(static_cast<int>(k))->value());
  }
  for (int sweep = 0; sweep < kRebalancePasses; ++sweep) {
    for (std::int16_t& parameter : parameters) {
      if (Total(parameters) > kBudget && parameter > 0) --parameter;
    }
  }
  for (std::size_t k = 0; k < parameters.size(); ++k) {
    slPar(static_cast<int>(k))->setValue(parameters[k]);
  }
}

// The slider handlers and the pool clamp: the movement and weapon-share
// budgets, the parameter pool display, the derived values, the distance.
#include "form1.h"

#include <QtTest>
#include <QtWidgets>

#include <vector>

namespace {

using Values = std::vector<int>;

Values ValuesOf(QSlider* (Form1::*member)(int) const, const Form1& form, int count) {
  Values values;
  for (int i = 0; i < count; ++i) values.push_back((form.*member)(i)->value());
  return values;
}
Values MoveValues(const Form1& form) { return ValuesOf(&Form1::slMove, form, 9); }
Values WeaponShares(const Form1& form) { return ValuesOf(&Form1::slWPrsnt, form, 4); }
Values Parameters(const Form1& form) { return ValuesOf(&Form1::slPar, form, 4); }

QStringList Texts(QLabel* (Form1::*member)(int) const, const Form1& form, int count) {
  QStringList texts;
  for (int i = 0; i < count; ++i) texts << (form.*member)(i)->text();
  return texts;
}

QStringList Percents(const Values& values) {
  QStringList texts;
  for (int value : values) texts << QString::number(value) + '%';
  return texts;
}

// Sets the members in ascending order from 0 up, as the load does, so that
// no rebalancing runs while the group stays within its budget.
void SetGroup(QSlider* (Form1::*member)(int) const, Form1& form, const Values& values) {
  for (int i = 0; i < static_cast<int>(values.size()); ++i) (form.*member)(i)->setValue(values[i]);
}

QLabel* Label(Form1& form, const char* name) { return form.findChild<QLabel*>(name); }
QProgressBar* Pool(Form1& form) { return form.findChild<QProgressBar*>("ProgressBar"); }
QSlider* Range(Form1& form) { return form.findChild<QSlider*>("slRange"); }

}  // namespace

Q_DECLARE_METATYPE(Values)

class Form1SlidersTest : public QObject {
  Q_OBJECT

 private slots:
  void MovementOverdraftIsTakenFromTheOthersOnePointAPass();
  void MovementShareMovedTo100ZeroesTheOthers_data();
  void MovementShareMovedTo100ZeroesTheOthers();
  void MoveWithinTheBudgetChangesNoOtherMember_data();
  void MoveWithinTheBudgetChangesNoOtherMember();
  void WeaponShareMovedUpLowersTheOtherShares();
  void DefenceRateChangesOnlyItsLabel();
  void UserMovesRunTheHandlers();

  void PoolDisplayShowsTheRestAndAnOverdraft();
  void ParameterHandlerCalledDirectlyShowsThePool();
  void DerivedValueLabelsHoldZeroUntilTheirParameterMoves();
  void DerivedValues_data();
  void DerivedValues();

  void PoolClampCutsToExactly100FromIndexZeroUp_data();
  void PoolClampCutsToExactly100FromIndexZeroUp();
  void PoolClampDoesNothingInShopMode();

  void DistanceLabelShowsTheBareNumber();
  void ValuesOutsideTheRangeTakeTheNearerEnd();
};

void Form1SlidersTest::MovementOverdraftIsTakenFromTheOthersOnePointAPass() {
  Form1 form;
  SetGroup(&Form1::slMove, form, {0, 0, 20, 0, 0, 21, 0, 0, 0});
  form.slMove(0)->setValue(70);
  // 111 drops by 2 a pass (members 2 and 5) and ends below 100.
  QCOMPARE(MoveValues(form), (Values{70, 0, 14, 0, 0, 15, 0, 0, 0}));
  QCOMPARE(Texts(&Form1::lbMove, form, 9), Percents({70, 0, 14, 0, 0, 15, 0, 0, 0}));
}

void Form1SlidersTest::MovementShareMovedTo100ZeroesTheOthers_data() {
  QTest::addColumn<int>("moved");
  for (int i = 0; i < 9; ++i) QTest::newRow(qPrintable(QString("slMove_%1").arg(i))) << i;
}

void Form1SlidersTest::MovementShareMovedTo100ZeroesTheOthers() {
  QFETCH(int, moved);
  Form1 form;
  SetGroup(&Form1::slMove, form, {10, 10, 10, 10, 10, 10, 10, 10, 10});
  form.slMove(moved)->setValue(100);
  Values expected(9, 0);
  expected[moved] = 100;
  QCOMPARE(MoveValues(form), expected);
  QCOMPARE(Texts(&Form1::lbMove, form, 9), Percents(expected));

  // From all 0, a move to 100 changes no other member.
  Form1 fresh;
  fresh.slMove(moved)->setValue(100);
  QCOMPARE(MoveValues(fresh), expected);
}

void Form1SlidersTest::MoveWithinTheBudgetChangesNoOtherMember_data() {
  QTest::addColumn<bool>("movement");
  QTest::addColumn<Values>("start");
  QTest::addColumn<int>("moved");
  QTest::addColumn<int>("value");
  QTest::newRow("movement down") << true << Values{10, 20, 30, 0, 5, 0, 15, 0, 20} << 2 << 5;
  QTest::newRow("movement up to exactly 100") << true << Values{10, 20, 30, 0, 5, 0, 15, 0, 10} << 8 << 20;
  QTest::newRow("weapon share down") << false << Values{25, 25, 25, 25} << 3 << 0;
  QTest::newRow("weapon share up within") << false << Values{10, 20, 30, 0} << 3 << 40;
}

void Form1SlidersTest::MoveWithinTheBudgetChangesNoOtherMember() {
  QFETCH(bool, movement);
  QFETCH(Values, start);
  QFETCH(int, moved);
  QFETCH(int, value);
  const auto member = movement ? &Form1::slMove : &Form1::slWPrsnt;
  Form1 form;
  SetGroup(member, form, start);
  QCOMPARE(ValuesOf(member, form, int(start.size())), start);
  (form.*member)(moved)->setValue(value);
  Values expected = start;
  expected[moved] = value;
  QCOMPARE(ValuesOf(member, form, int(start.size())), expected);
  const auto labels = movement ? &Form1::lbMove : &Form1::lbWPrsnt;
  QCOMPARE(Texts(labels, form, int(start.size())), Percents(expected));
}

void Form1SlidersTest::WeaponShareMovedUpLowersTheOtherShares() {
  Form1 form;
  SetGroup(&Form1::slWPrsnt, form, {25, 25, 25, 25});
  form.slWPrsnt(1)->setValue(40);
  QCOMPARE(WeaponShares(form), (Values{20, 40, 20, 20}));
  QCOMPARE(Texts(&Form1::lbWPrsnt, form, 4), Percents({20, 40, 20, 20}));
  QCOMPARE(form.slWPrsnt(4)->value(), 0);
  QCOMPARE(form.lbWPrsnt(4)->text(), QStringLiteral("0%"));
}

void Form1SlidersTest::DefenceRateChangesOnlyItsLabel() {
  Form1 form;
  SetGroup(&Form1::slWPrsnt, form, {25, 25, 25, 25});
  SetGroup(&Form1::slMove, form, {50, 50});
  form.slWPrsnt(4)->setValue(55);
  QCOMPARE(form.lbWPrsnt(4)->text(), QStringLiteral("55%"));
  QCOMPARE(WeaponShares(form), (Values{25, 25, 25, 25}));
  QCOMPARE(Texts(&Form1::lbWPrsnt, form, 4), Percents({25, 25, 25, 25}));
  QCOMPARE(MoveValues(form), (Values{50, 50, 0, 0, 0, 0, 0, 0, 0}));
  form.slWPrsnt(4)->setValue(100);  // outside the budget of 0-3
  QCOMPARE(WeaponShares(form), (Values{25, 25, 25, 25}));
}

void Form1SlidersTest::UserMovesRunTheHandlers() {
  Form1 form;
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  form.findChild<QTabWidget*>("SSTab1")->setCurrentIndex(1);
  SetGroup(&Form1::slWPrsnt, form, {50, 50});
  QTest::keyClick(form.slWPrsnt(2), Qt::Key_PageUp);  // a large step of 5
  // 105 drops by 2 a pass, three passes.
  QCOMPARE(WeaponShares(form), (Values{47, 47, 5, 0}));
  QCOMPARE(form.lbWPrsnt(2)->text(), QStringLiteral("5%"));
  QCOMPARE(form.lbWPrsnt(0)->text(), QStringLiteral("47%"));
}

void Form1SlidersTest::PoolDisplayShowsTheRestAndAnOverdraft() {
  Form1 form;
  SetGroup(&Form1::slPar, form, {10, 20, 30});
  QCOMPARE(Label(form, "lbZan")->text(), QStringLiteral("40%"));
  QCOMPARE(Pool(form)->value(), 40);

  form.slPar(0)->setValue(40);
  form.slPar(1)->setValue(40);
  form.slPar(2)->setValue(40);
  QCOMPARE(Label(form, "lbZan")->text(), QStringLiteral("-20%"));
  QCOMPARE(Pool(form)->value(), 0);
  QCOMPARE(Texts(&Form1::lbPar2, form, 4), (QStringList{"40%", "40%", "40%", "0%"}));
  QCOMPARE(Parameters(form), (Values{40, 40, 40, 0}));  // the handler cuts nothing
}

void Form1SlidersTest::ParameterHandlerCalledDirectlyShowsThePool() {
  Form1 form;
  form.OnSlParChanged(0);
  QCOMPARE(Label(form, "lbZan")->text(), QStringLiteral("100%"));
  QCOMPARE(Pool(form)->value(), 100);
  QCOMPARE(form.lbPar(0)->text(), QStringLiteral("109"));
  QCOMPARE(form.lbPar2(0)->text(), QStringLiteral("0%"));
}

void Form1SlidersTest::DerivedValueLabelsHoldZeroUntilTheirParameterMoves() {
  Form1 form;
  form.slPar(1)->setValue(30);
  QCOMPARE(Texts(&Form1::lbPar, form, 4), (QStringList{"0", "3", "0", "0"}));
  form.slPar(1)->setValue(30);  // the same value raises nothing
  form.slPar(3)->setValue(1);
  QCOMPARE(Texts(&Form1::lbPar, form, 4), (QStringList{"0", "3", "0", "1260"}));
}

void Form1SlidersTest::DerivedValues_data() {
  QTest::addColumn<int>("index");
  QTest::addColumn<int>("value");
  QTest::addColumn<int>("derived");
  const struct {
    int index, value, derived;
  } rows[] = {
      {0, 0, 109}, {0, 1, 92},  {0, 5, 59},  {0, 10, 42}, {0, 20, 29},    {0, 45, 19},
      {0, 95, 14}, {0, 100, 13}, {1, 0, 1},  {1, 11, 1},  {1, 12, 2},     {1, 23, 2},
      {1, 24, 3},  {1, 95, 8},   {1, 96, 9}, {1, 100, 9}, {2, 0, 300},    {2, 1, 317},
      {2, 100, 2000}, {3, 0, 1200}, {3, 1, 1260}, {3, 100, 7200},
  };
  for (const auto& row : rows) {
    QTest::newRow(qPrintable(QString("slPar_%1 at %2").arg(row.index).arg(row.value)))
        << row.index << row.value << row.derived;
  }
}

void Form1SlidersTest::DerivedValues() {
  QFETCH(int, index);
  QFETCH(int, value);
  QFETCH(int, derived);
  Form1 form;
  form.slPar(index)->setValue(value == 0 ? 1 : 0);
  form.slPar(index)->setValue(value);
  QCOMPARE(form.lbPar(index)->text(), QString::number(derived));
  QCOMPARE(form.lbPar2(index)->text(), QString::number(value) + '%');
}

void Form1SlidersTest::PoolClampCutsToExactly100FromIndexZeroUp_data() {
  QTest::addColumn<Values>("start");
  QTest::addColumn<Values>("clamped");
  QTest::newRow("61 50 0 0") << Values{61, 50, 0, 0} << Values{55, 45, 0, 0};
  QTest::newRow("40 40 40 0") << Values{40, 40, 40, 0} << Values{33, 33, 34, 0};
  QTest::newRow("all 100") << Values{100, 100, 100, 100} << Values{25, 25, 25, 25};
  QTest::newRow("30 20 10 0") << Values{30, 20, 10, 0} << Values{30, 20, 10, 0};
  QTest::newRow("0 0 0 100") << Values{0, 0, 0, 100} << Values{0, 0, 0, 100};
  QTest::newRow("1 0 0 100") << Values{1, 0, 0, 100} << Values{0, 0, 0, 100};
}

void Form1SlidersTest::PoolClampCutsToExactly100FromIndexZeroUp() {
  QFETCH(Values, start);
  QFETCH(Values, clamped);
  Form1 form;
  SetGroup(&Form1::slPar, form, start);
  form.ClampParameterPool();
  QCOMPARE(Parameters(form), clamped);

  // Each cut raised the parameter handler, so the labels tell the new values.
  int total = 0;
  for (int value : clamped) total += value;
  QCOMPARE(Label(form, "lbZan")->text(), QString::number(100 - total) + '%');
  QCOMPARE(Pool(form)->value(), 100 - total);
  QCOMPARE(Texts(&Form1::lbPar2, form, 4), Percents(clamped));
}

void Form1SlidersTest::PoolClampDoesNothingInShopMode() {
  Form1 form;
  form.SetShopMode(true);
  SetGroup(&Form1::slPar, form, {40, 40, 40, 0});
  form.ClampParameterPool();
  QCOMPARE(Parameters(form), (Values{40, 40, 40, 0}));
  QCOMPARE(Label(form, "lbZan")->text(), QStringLiteral("-20%"));
}

void Form1SlidersTest::DistanceLabelShowsTheBareNumber() {
  Form1 form;
  Range(form)->setValue(1000);
  QCOMPARE(Label(form, "lbRange")->text(), QStringLiteral("1000"));
  Range(form)->setValue(21);
  QCOMPARE(Label(form, "lbRange")->text(), QStringLiteral("21"));
}

void Form1SlidersTest::ValuesOutsideTheRangeTakeTheNearerEnd() {
  Form1 form;
  Range(form)->setValue(500);
  Range(form)->setValue(0);
  QCOMPARE(Range(form)->value(), 20);
  QCOMPARE(Label(form, "lbRange")->text(), QStringLiteral("20"));
  Range(form)->setValue(5000);
  QCOMPARE(Label(form, "lbRange")->text(), QStringLiteral("1000"));

  form.slMove(4)->setValue(150);
  QCOMPARE(form.lbMove(4)->text(), QStringLiteral("100%"));
  form.slPar(2)->setValue(-5);
  QCOMPARE(form.slPar(2)->value(), 0);
}

QTEST_MAIN(Form1SlidersTest)
#include "form1_sliders_test.moc"

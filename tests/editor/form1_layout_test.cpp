// The window's layout: the pages, frames and rows in their order, rows that
// belong together standing level, the text boxes in the blanks of their
// captions, and no caption ever cut.
#include "form1.h"

#include <QtTest>
#include <QtWidgets>

namespace {

template <typename T = QWidget>
T* Control(Form1& form, const QString& name) {
  auto* control = form.findChild<T*>(name);
  if (control == nullptr) qFatal("no control %s", qPrintable(name));
  return control;
}

// The control's rectangle in the window's coordinates.
QRect InWindow(Form1& form, QWidget* control) {
  return QRect(control->mapTo(&form, QPoint(0, 0)), control->size());
}

void ShowPage(Form1& form, int page) {
  Control<QTabWidget>(form, QStringLiteral("SSTab1"))->setCurrentIndex(page);
  QCoreApplication::processEvents();
}

// Whether every caption on what is shown gets the room it asks for.
void CheckNoCaptionIsCut(Form1& form) {
  for (QWidget* control : form.findChildren<QWidget*>()) {
    if (!control->isVisible()) continue;
    const QString name = control->objectName();
    if (auto* label = qobject_cast<QLabel*>(control)) {
      QVERIFY2(label->width() >= label->sizeHint().width() &&
                   label->height() >= label->sizeHint().height(),
               qPrintable(name));
    } else if (qobject_cast<QAbstractButton*>(control) != nullptr ||
               qobject_cast<QComboBox*>(control) != nullptr) {
      QVERIFY2(control->width() >= control->sizeHint().width() &&
                   control->height() >= control->sizeHint().height(),
               qPrintable(name));
    } else if (auto* frame = qobject_cast<QGroupBox*>(control)) {
      QVERIFY2(frame->width() >= frame->minimumSizeHint().width(), qPrintable(name));
    }
  }
}

}  // namespace

class Form1LayoutTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    form_ = std::make_unique<Form1>();
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
  }
  void cleanup() { form_.reset(); }

  void NoCaptionIsCutOnAnyPageAndTheWindowStaysSmall();
  void NoCaptionIsCutInShopMode();
  void ValueLabelsHaveRoomForTheirWidestValues();
  void WeaponSharesStandLevelWithTheirSlots();
  void PoolRowsStandLevelWithTheirShares();
  void MovementRowsStandInTheirOrder();
  void BottomRowRunsFromTheShopControlsToTheExitButton();
  void BehaviourAndDefenceRowsStandInTheirOrder();
  void NumberBoxesSitInTheBlanksOfTheirCaptions_data();
  void NumberBoxesSitInTheBlanksOfTheirCaptions();

 private:
  std::unique_ptr<Form1> form_;
};

void Form1LayoutTest::NoCaptionIsCutOnAnyPageAndTheWindowStaysSmall() {
  const QSize size = form_->size();
  for (int page = 0; page < 6; ++page) {
    ShowPage(*form_, page);
    CheckNoCaptionIsCut(*form_);
    QCOMPARE(form_->size(), size);  // no page makes the window jump
  }
  // About 502 x 344 pixels, whatever the fonts ask for beyond that.
  QVERIFY2(size.width() <= 640 && size.height() <= 480, qPrintable(QString("%1x%2").arg(size.width()).arg(size.height())));
}

void Form1LayoutTest::NoCaptionIsCutInShopMode() {
  for (const char* name : {"sf", "cmVShopPack", "VShop"}) Control(*form_, name)->show();
  Control<QLabel>(*form_, QStringLiteral("lbInfo"))->setText(QStringLiteral("データ非表示モード"));
  QCoreApplication::processEvents();
  CheckNoCaptionIsCut(*form_);
}

void Form1LayoutTest::ValueLabelsHaveRoomForTheirWidestValues() {
  const QSize size = form_->size();
  QList<QPair<QLabel*, QString>> widest{{Control<QLabel>(*form_, "lbZan"), "-300%"},
                                        {Control<QLabel>(*form_, "lbRange"), "1000"}};
  for (int i = 0; i < 9; ++i) widest.append({form_->lbMove(i), "100%"});
  for (int i = 0; i < 5; ++i) widest.append({form_->lbWPrsnt(i), "100%"});
  for (int i = 0; i < 4; ++i) widest.append({form_->lbPar(i), "7200"});
  for (int i = 0; i < 4; ++i) widest.append({form_->lbPar2(i), "100%"});

  QList<QPair<QWidget*, QRect>> sliders;
  for (int page = 0; page < 6; ++page) {
    ShowPage(*form_, page);
    for (QSlider* slider : form_->findChildren<QSlider*>()) {
      if (slider->isVisible()) sliders.append({slider, slider->geometry()});
    }
  }
  for (const auto& [label, text] : widest) label->setText(text);
  for (int page = 0; page < 6; ++page) {
    ShowPage(*form_, page);
    CheckNoCaptionIsCut(*form_);
  }
  QCOMPARE(form_->size(), size);
  QCOMPARE(sliders.size(), 19);
  for (const auto& [slider, geometry] : sliders) QCOMPARE(slider->geometry(), geometry);
}

void Form1LayoutTest::WeaponSharesStandLevelWithTheirSlots() {
  ShowPage(*form_, 1);
  for (int i = 0; i < 4; ++i) {
    const int slot = InWindow(*form_, form_->Wpn(i)).center().y();
    QVERIFY(qAbs(InWindow(*form_, form_->slWPrsnt(i)).center().y() - slot) <= 2);
    QVERIFY(qAbs(InWindow(*form_, form_->lbWPrsnt(i)).center().y() - slot) <= 2);
  }
  for (int i = 1; i < 6; ++i) {
    QVERIFY(form_->Wpn(i)->y() > form_->Wpn(i - 1)->y());
  }
  // Slots 4 and 5 follow below a gap.
  QVERIFY(form_->Wpn(4)->y() - form_->Wpn(3)->y() > form_->Wpn(3)->y() - form_->Wpn(2)->y());
  QVERIFY(InWindow(*form_, Control(*form_, "Frame9")).left() >
          InWindow(*form_, Control(*form_, "Frame7")).right());
}

void Form1LayoutTest::PoolRowsStandLevelWithTheirShares() {
  ShowPage(*form_, 3);
  const auto level = [&](QWidget* a, QWidget* b) {
    return qAbs(InWindow(*form_, a).center().y() - InWindow(*form_, b).center().y()) <= 2;
  };
  QVERIFY(level(Control(*form_, "ProgressBar"), Control(*form_, "lbZan")));
  QVERIFY(level(Control(*form_, "ProgressBar"), Control(*form_, "Label8")));
  int previous = InWindow(*form_, Control(*form_, "ProgressBar")).top();
  for (int i = 0; i < 4; ++i) {
    QWidget* slider = form_->slPar(i);
    QVERIFY(InWindow(*form_, slider).top() > previous);
    previous = InWindow(*form_, slider).top();
    QVERIFY(level(slider, Control(*form_, QString("Label2_%1").arg(i))));
    QVERIFY(level(slider, form_->lbPar(i)));
    QVERIFY(level(slider, form_->lbPar2(i)));
  }
}

void Form1LayoutTest::MovementRowsStandInTheirOrder() {
  ShowPage(*form_, 2);
  const QStringList rows{"slMove_0", "slMove_1", "slMove_2", "slMove_3", "slRange",
                         "slMove_4", "slMove_5", "slMove_6", "slMove_7", "slMove_8"};
  const QStringList values{"lbMove_0", "lbMove_1", "lbMove_2", "lbMove_3", "lbRange",
                           "lbMove_4", "lbMove_5", "lbMove_6", "lbMove_7", "lbMove_8"};
  const QStringList names{"Label1_0", "Label1_1", "Label1_2", "Label1_3", "Label3",
                          "Label1_4", "Label1_5", "Label1_6", "Label1_7", "Label1_8"};
  int previous = -1;
  for (int row = 0; row < rows.size(); ++row) {
    const QRect slider = InWindow(*form_, Control(*form_, rows[row]));
    const QRect value = InWindow(*form_, Control(*form_, values[row]));
    const QRect name = InWindow(*form_, Control(*form_, names[row]));
    QVERIFY2(slider.top() > previous, qPrintable(rows[row]));
    previous = slider.bottom();
    QVERIFY(qAbs(value.center().y() - slider.center().y()) <= 2);
    QVERIFY(qAbs(name.center().y() - slider.center().y()) <= 2);
    QVERIFY(slider.right() < value.left() && value.right() < name.left());
  }
}

void Form1LayoutTest::BottomRowRunsFromTheShopControlsToTheExitButton() {
  for (const char* name : {"sf", "cmVShopPack", "VShop"}) Control(*form_, name)->show();
  QCoreApplication::processEvents();
  const QStringList row{"cmVShopPack", "VShop", "Help", "cmPack", "Save", "Command1"};
  const QRect first = InWindow(*form_, Control(*form_, row.front()));
  int previous = -1;
  for (const QString& name : row) {
    const QRect control = InWindow(*form_, Control(*form_, name));
    QVERIFY2(control.left() > previous, qPrintable(name));
    QVERIFY2(qAbs(control.top() - first.top()) <= 1, qPrintable(name));
    previous = control.right();
  }
  const QRect tabs = InWindow(*form_, Control(*form_, "SSTab1"));
  for (const char* name : {"sf", "lbInfo"}) {
    const QRect above = InWindow(*form_, Control(*form_, name));
    QVERIFY2(above.top() > tabs.bottom() && above.bottom() < first.top(), name);
    QVERIFY2(above.left() < InWindow(*form_, Control(*form_, "Help")).left(), name);
  }
}

void Form1LayoutTest::BehaviourAndDefenceRowsStandInTheirOrder() {
  ShowPage(*form_, 4);
  const auto topOf = [&](const char* name) { return InWindow(*form_, Control(*form_, name)).top(); };
  QVERIFY(topOf("Check2") < topOf("Check3") && topOf("Check3") < topOf("Check4"));
  QVERIFY(topOf("Check4") < topOf("TxZan") && topOf("TxZan") < topOf("Check5"));
  QVERIFY(InWindow(*form_, Control(*form_, "Frame13")).bottom() < topOf("Check1"));
  // "理力が" [80] "%を超えたら..." reads as one line.
  const QRect force = InWindow(*form_, Control(*form_, "Label4"));
  const QRect limit = InWindow(*form_, Control(*form_, "TxZan"));
  const QRect rest = InWindow(*form_, Control(*form_, "Label11"));
  QVERIFY(force.right() < limit.left() && limit.right() < rest.left());
  QVERIFY(qAbs(force.center().y() - limit.center().y()) <= 2);
  QVERIFY(qAbs(rest.center().y() - limit.center().y()) <= 2);

  ShowPage(*form_, 5);
  QVERIFY(topOf("Label12") < topOf("ChTama") && topOf("ChTama") < topOf("Label13"));
  QVERIFY(topOf("Label13") < topOf("slWPrsnt_4") && topOf("slWPrsnt_4") < topOf("Check6"));
}

void Form1LayoutTest::NumberBoxesSitInTheBlanksOfTheirCaptions_data() {
  QTest::addColumn<QString>("label");
  QTest::addColumn<QString>("before");
  QTest::addColumn<QString>("blank");
  QTest::newRow("TxRen") << "Label12" << "連続して" << QString(5, QChar(0x3000));
  QTest::newRow("TxDame") << "Label13" << "自機の前に総ダメージ数が" << QString(6, QChar(0x3000));
}

void Form1LayoutTest::NumberBoxesSitInTheBlanksOfTheirCaptions() {
  QFETCH(QString, label);
  QFETCH(QString, before);
  QFETCH(QString, blank);
  ShowPage(*form_, 5);
  auto* caption = Control<QLabel>(*form_, label);
  auto* box = Control<QLineEdit>(*form_, QTest::currentDataTag());
  QVERIFY(caption->text().startsWith(before + blank));

  const QFontMetrics metrics(caption->font());
  const QRect text = InWindow(*form_, caption);
  const int blankLeft = text.left() + metrics.horizontalAdvance(before);
  const int blankRight = blankLeft + metrics.horizontalAdvance(blank);
  const QRect inBlank = InWindow(*form_, box);
  QVERIFY(box->isVisible());
  QVERIFY(inBlank.left() >= blankLeft && inBlank.right() < blankRight);
  QVERIFY(inBlank.width() >= metrics.horizontalAdvance(blank) - 1);
  QVERIFY(inBlank.top() >= text.top() && inBlank.bottom() <= text.bottom());
  // The box stays in the blank when the layout moves the caption.
  form_->findChild<QWidget*>(QStringLiteral("Frame5"))->layout()->setContentsMargins(30, 20, 6, 4);
  QCoreApplication::processEvents();
  QCOMPARE(InWindow(*form_, box).topLeft() - InWindow(*form_, caption).topLeft(),
           inBlank.topLeft() - text.topLeft());
  // A click on the blank lands in the box.
  QCOMPARE(form_->childAt(form_->mapFromGlobal(box->mapToGlobal(box->rect().center()))), box);
}

QTEST_MAIN(Form1LayoutTest)
#include "form1_layout_test.moc"

#include "blank_overlay.h"

#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>

#include <stdexcept>

namespace {

constexpr QChar kIdeographicSpace(0x3000);

}  // namespace

void BlankOverlay::Place(QLabel* label, QLineEdit* box) {
  if (!label->text().contains(kIdeographicSpace)) {
    throw std::logic_error("the caption of " + label->objectName().toStdString() + " has no blank");
  }
  auto* overlay = new BlankOverlay(label, box);
  label->installEventFilter(overlay);
  // The label is as tall as the box, so the box never spills over the rows
  // above and below.
  label->setMinimumHeight(box->sizeHint().height());
  overlay->Reposition();
}

BlankOverlay::BlankOverlay(QLabel* label, QLineEdit* box)
    : QObject(label), label_(label), box_(box) {}

bool BlankOverlay::eventFilter(QObject* watched, QEvent* event) {
  if (watched == label_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize ||
                            event->type() == QEvent::FontChange)) {
    Reposition();
  }
  return QObject::eventFilter(watched, event);
}

void BlankOverlay::Reposition() {
  const QString caption = label_->text();
  const auto start = caption.indexOf(kIdeographicSpace);
  auto end = start;
  while (end >= 0 && end < caption.size() && caption[end] == kIdeographicSpace) {
    ++end;
  }
  const QFontMetrics metrics(label_->font());
  const int left = label_->contentsRect().left() + label_->margin() +
                   metrics.horizontalAdvance(caption.left(start));
  const int width = metrics.horizontalAdvance(caption.mid(start, end - start));
  const int height = box_->sizeHint().height();
  const QRect inLabel(left, (label_->height() - height) / 2, width, height);
  box_->setGeometry(inLabel.translated(label_->pos()));
  box_->raise();
}

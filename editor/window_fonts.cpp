#include "window_fonts.h"

#include <QString>
#include <QStringList>

namespace windowfonts {
namespace {

const QString kUiFamily = QStringLiteral("IPAPGothic");
const QString kTitleStandIn = QStringLiteral("IPAPMincho");

// The first family that is installed is used; the point size may be
// fractional, which a form file cannot store.
QFont FontOf(const QStringList& families, qreal points) {
  QFont font;
  font.setFamilies(families);
  font.setPointSizeF(points);
  font.setWeight(QFont::Normal);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace

QFont WindowFont() { return FontOf({kUiFamily}, 9); }

QFont TitleFont() {
  QFont font = FontOf({QStringLiteral("HG正楷書体-PRO"), kTitleStandIn}, 14.25);
  font.setStyleHint(QFont::Serif);
  return font;
}

QFont StatusFont() { return FontOf({QStringLiteral("ＭＳ Ｐゴシック"), kUiFamily}, 8.25); }

}  // namespace windowfonts

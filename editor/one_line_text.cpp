#include "one_line_text.h"

#include <QString>

QValidator::State LineBreaksToSpaces::validate(QString& input, int& position) const {
  if (!input.contains(QLatin1Char('\r')) && !input.contains(QLatin1Char('\n'))) return Acceptable;
  QString oneLine;
  oneLine.reserve(input.size());
  int newPosition = position;
  for (qsizetype i = 0; i < input.size(); ++i) {
    const QChar c = input[i];
    if (c == QLatin1Char('\r') && i + 1 < input.size() && input[i + 1] == QLatin1Char('\n')) {
      oneLine += QLatin1Char(' ');
      if (i + 1 < position) --newPosition;  // the pair before the cursor is one character now
      ++i;
    } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
      oneLine += QLatin1Char(' ');
    } else {
      oneLine += c;
    }
  }
  input = oneLine;
  position = newPosition;
  return Acceptable;
}

// The window's fonts. The whole window, its message boxes and Qt's own
// dialogs speak in one Japanese face, IPA P Gothic (Debian's
// fonts-ipafont-gothic), so Latin digits and Japanese text come from the same
// family. The title Label7 and the status line lbInfo ask first for the faces
// the game's own tools use and fall back to IPA fonts where those are not
// installed: a Mincho face stands in for the brush-style title font.
#pragma once

#include <QFont>

namespace windowfonts {

// IPA P Gothic, 9 pt: every control that names no font of its own.
QFont WindowFont();

// "HG正楷書体-PRO" 14.25 pt, normal weight, else IPA P Mincho: the title
// "Orvalis".
QFont TitleFont();

// "ＭＳ Ｐゴシック" 8.25 pt, else IPA P Gothic: the status line.
QFont StatusFont();

}  // namespace windowfonts

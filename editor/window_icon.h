// The editor's icon: a mecha head on a cast badge, drawn in icons/cast.svg and
// kept as PNGs of 16, 32, 48, 64 and 256 pixels (scripts/make-icons renders
// them), built into the program as the resource file icons/icons.qrc.
#pragma once

#include <QIcon>

namespace windowicon {

// Every size of the icon, for the application and the window.
QIcon CastIcon();

}  // namespace windowicon

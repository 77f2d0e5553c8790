#pragma once

#include "formats.h"
#include "painter.h"

namespace art {

// The application's shield at size x size, with the cross in the given colours.
MaskedImage MakeShieldIcon(int size, const Ramp& cross);
MaskedImage MakeArrowCursor();

// The application's icon for the desktop: the red-cross shield as PNG with alpha.
inline constexpr int APP_ICON_SIZES[] = {16, 32, 48, 64, 128, 256};
inline constexpr const char* APP_ICON_NAME = "io.github.vorla.Vorla";
Bytes EncodeAppIcon(int size);

}  // namespace art

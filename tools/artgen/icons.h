#pragma once

#include "formats.h"
#include "painter.h"

namespace art {

// The application's shield at size x size, with the cross in the given colours.
MaskedImage MakeShieldIcon(int size, const Ramp& cross);
MaskedImage MakeArrowCursor();

}  // namespace art

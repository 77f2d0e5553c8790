#pragma once

#include "image.h"

namespace art {

// The 150 x 400 sheet: the twelve pictures of the sprite sheet as 50 x 100 portraits.
Image MakePortraits();

}  // namespace art

// Golden pictures: a 640 x 480 page compared exactly with a reviewed PNG in tests/data.
// Run the tests with VORLA_UPDATE_GOLDEN=1 to rewrite the PNGs after a deliberate change
// of look, then look at them before committing.
#pragma once

#include <string>

#include "platform/host/screen.h"

namespace testsupport {

// "" when page matches tests/data/<name>; otherwise what differs, for the failure message.
std::string CompareWithGolden(const platform::PixelTarget& page, const std::string& name);

}  // namespace testsupport

// An installed face chosen for a request, as every way of finding one reports it.
#pragma once

#include <string>

namespace platform::gdi {

struct Match {
    std::string file;
    int index = 0;
    bool familyFound = false;
    int weight = 400;  // the face's own weight, 100 to 900 as OpenType counts
    bool italic = false;
};

}  // namespace platform::gdi

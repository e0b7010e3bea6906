#pragma once

#include <string>

#include "simulator/listing.h"

namespace marvolt::sim {

// The listing's first picture: a 320 x 240 JPEG of a vehicle of its kind in its colour, on a
// background drawn from its picture seed, so no two listings look quite alike.
std::string DrawPicture(const Listing& listing);

}  // namespace marvolt::sim

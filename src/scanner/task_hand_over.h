#pragma once

#include "scanner/search_address.h"
#include "scanner/task_values.h"

namespace marvolt {

// Hands a task's values to its scanner's search address in the fixed order, which is the
// order of the parameters in the address. Left out: the model id for other kinds than cars
// and the model text for cars, the zip code without a country, the radius without a zip code,
// and a range whose two bounds are both 0.
void HandOverTask(const TaskValues& task, SearchAddress& address);

}  // namespace marvolt

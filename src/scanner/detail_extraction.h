#pragma once

#include <string_view>

#include "scanner/car_info.h"
#include "scanner/debug_log.h"

namespace marvolt {

// Clears a found vehicle for the next listing. IdSchedule and Id stay: the scanner owns them.
void ResetCarInfo(CarInfo& car);

// Fills a found vehicle from a listing's printable detail page (page text, see NormalizePage).
// A missing marker leaves its field as ResetCarInfo left it. Throws ConversionError when a
// number field's text is not a whole number that fits 32 bits; the fields read before it stay.
void EvaluatePage(std::string_view pageText, CarInfo& car, const DebugLog& log);

}  // namespace marvolt

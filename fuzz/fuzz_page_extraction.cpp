#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_check.h"
#include "scanner/car_info.h"
#include "scanner/conversion_error.h"
#include "scanner/debug_log.h"
#include "scanner/detail_extraction.h"
#include "scanner/page_text.h"
#include "scanner/utf8_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view body(reinterpret_cast<const char*>(data), size);
    const std::string page = marvolt::NormalizePage(body);
    FUZZ_CHECK(page.size() <= body.size());
    FUZZ_CHECK(marvolt::utf8::IsWellFormed(page));
    FUZZ_CHECK(page.find('\n') == std::string::npos);
    FUZZ_CHECK(page.find('\t') == std::string::npos);

    static const marvolt::DebugLog quiet([](std::string_view) {});
    marvolt::CarInfo car;
    car.IdSchedule = 3;
    car.Id = 4;
    marvolt::ResetCarInfo(car);
    try {
        marvolt::EvaluatePage(page, car, quiet);
    } catch (const marvolt::ConversionError&) {
        // A number text that does not convert is an expected outcome.
    }
    FUZZ_CHECK(car.IdSchedule == 3 && car.Id == 4);
    // Cuts count whole characters, so no text field may start or end inside one.
    for (const std::string* text :
         {&car.CarDescription, &car.FirstRegistration, &car.Description, &car.Features,
          &car.PictureUrl, &car.Dealer, &car.SellerCountry}) {
        FUZZ_CHECK(marvolt::utf8::IsWellFormed(*text));
    }
    FUZZ_CHECK(car.Fuel <= 3 && car.Transmission <= 3 && car.Doors <= 3);
    FUZZ_CHECK(car.Climatisation <= 3 && car.SellerType <= 2);
    FUZZ_CHECK(car.Price >= 0 && car.Mileage >= 0 && car.Power >= 0);

    // Extraction must also hold on text that never went through normalising.
    marvolt::ResetCarInfo(car);
    try {
        marvolt::EvaluatePage(body, car, quiet);
    } catch (const marvolt::ConversionError&) {
    }
    return 0;
}

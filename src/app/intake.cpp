#include "app/intake.h"

#include "data/data_module.h"
#include "scanner/car_info.h"

namespace marvolt {

void Intake::CarFound(const CarInfo& car) {
    data_.InsertResult(car);
    if (onStored_) {
        onStored_(car.IdSchedule);
    }
    if (dispatch_ != nullptr) {
        dispatch_->Notify(car);
    }
}

}  // namespace marvolt

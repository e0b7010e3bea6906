#include "scanner/task_hand_over.h"

namespace marvolt {

void HandOverTask(const TaskValues& task, SearchAddress& address) {
    address.SetIdSchedule(task.idSchedule);
    address.SetVehicleKind(task.vehicleKind);
    address.SetMakeId(task.makeId);
    if (task.vehicleKind != 0) {
        address.SetModelDescription(task.model);
    } else {
        address.SetModelId(task.modelId);
    }
    address.SetFuel(task.fuel);
    address.SetDamaged(task.damaged);
    address.SetTransmission(task.transmission);
    address.SetSellerType(task.sellerType);
    address.SetCountry(task.country);
    // What the address kept decides, as the scanner's read-back does.
    if (!address.Country().empty()) {
        address.SetZip(task.zip);
    }
    if (!address.Zip().empty()) {
        address.SetRadius(task.radius);
    }
    address.SetDoors(task.doors);
    address.SetClimatisation(task.climatisation);
    if (task.powerFrom != 0 || task.powerTo != 0) {
        address.SetPowerRange(task.powerFrom, task.powerTo);
    }
    if (task.engineFrom != 0 || task.engineTo != 0) {
        address.SetEngineRange(task.engineFrom, task.engineTo);
    }
    if (task.priceFrom != 0 || task.priceTo != 0) {
        address.SetPriceRange(task.priceFrom, task.priceTo);
    }
    if (task.mileageFrom != 0 || task.mileageTo != 0) {
        address.SetMileageRange(task.mileageFrom, task.mileageTo);
    }
    if (task.registrationFrom != 0 || task.registrationTo != 0) {
        address.SetRegistrationRange(task.registrationFrom, task.registrationTo);
    }
}

}  // namespace marvolt

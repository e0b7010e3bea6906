#pragma once

#include <functional>

namespace marvolt {

struct CarInfo;
class DataModule;

// Announces a stored vehicle through the channels that are switched on.
class NotificationDispatch {
  public:
    virtual ~NotificationDispatch() = default;
    virtual void Notify(const CarInfo& car) = 0;
};

// Takes in a found vehicle on the owner's thread: stores it, tells whoever shows the results
// that a vehicle of its task arrived, then announces it. Any failure propagates to the
// caller, which is the scanner's hand-over, so the scanner logs it and recovers.
class Intake {
  public:
    using StoredHandler = std::function<void(int idSchedule)>;

    Intake(DataModule& data, NotificationDispatch* dispatch, StoredHandler onStored = {})
        : data_(data), dispatch_(dispatch), onStored_(std::move(onStored)) {}

    void CarFound(const CarInfo& car);

  private:
    DataModule& data_;
    NotificationDispatch* dispatch_;
    StoredHandler onStored_;
};

}  // namespace marvolt

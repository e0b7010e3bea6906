#pragma once

#include <QObject>
#include <QPointer>

#include "scanner/hand_over.h"

namespace marvolt {

// The hand-over for a Qt owner: the call is queued to the thread of `context` and taken in by
// its event loop, a modal dialog's nested loop included. Close() it before `context` goes.
class QtHandOver : public HandOver {
  public:
    explicit QtHandOver(QObject* context) : context_(context) {}

  protected:
    void Post(std::function<void()> task) override;

  private:
    QPointer<QObject> context_;
};

}  // namespace marvolt

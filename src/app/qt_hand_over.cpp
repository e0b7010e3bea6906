#include "app/qt_hand_over.h"

#include <QMetaObject>

namespace marvolt {

void QtHandOver::Post(std::function<void()> task) {
    QMetaObject::invokeMethod(context_.data(), std::move(task), Qt::QueuedConnection);
}

}  // namespace marvolt

#include "app/qt_hand_over.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <thread>

namespace marvolt {
namespace {

using namespace std::chrono_literals;

// Runs `body` inside a nested event loop, as a modal dialog runs its own, and returns once
// `body`'s worker has quit that loop (or after ten seconds, which fails the test).
void InNestedLoop(const std::function<void(QEventLoop& modal)>& body) {
    QEventLoop outer;
    QTimer::singleShot(0, [&] {
        QEventLoop modal;
        QTimer::singleShot(10000, &modal, [&] {
            ADD_FAILURE() << "the hand-over was not taken in";
            modal.quit();
        });
        body(modal);
        modal.exec();
        outer.quit();
    });
    outer.exec();
}

TEST(QtHandOver, RunsOnTheOwnerThreadWhileAModalLoopRuns) {
    QObject owner;
    QtHandOver handOver(&owner);
    QThread* ranOn = nullptr;
    std::thread worker;
    InNestedLoop([&](QEventLoop& modal) {
        worker = std::thread([&] {
            handOver.Run([&] { ranOn = QThread::currentThread(); });
            QMetaObject::invokeMethod(&modal, &QEventLoop::quit, Qt::QueuedConnection);
        });
    });
    worker.join();
    EXPECT_EQ(ranOn, QCoreApplication::instance()->thread());
}

TEST(QtHandOver, CarriesTheReceiversErrorBackToTheWorker) {
    QObject owner;
    QtHandOver handOver(&owner);
    std::string caught;
    std::thread worker;
    InNestedLoop([&](QEventLoop& modal) {
        worker = std::thread([&] {
            try {
                handOver.Run([] { throw std::runtime_error("the store refused it"); });
            } catch (const std::runtime_error& error) {
                caught = error.what();
            }
            QMetaObject::invokeMethod(&modal, &QEventLoop::quit, Qt::QueuedConnection);
        });
    });
    worker.join();
    EXPECT_EQ(caught, "the store refused it");
}

TEST(QtHandOver, CloseReleasesAWorkerWhoseCallWasNotTakenIn) {
    QObject owner;
    QtHandOver handOver(&owner);
    std::atomic<bool> ran = false;
    std::atomic<bool> closedSeen = false;
    std::thread worker([&] {
        try {
            handOver.Run([&] { ran = true; });
        } catch (const HandOverClosed&) {
            closedSeen = true;
        }
    });
    std::this_thread::sleep_for(50ms);  // the call waits: this thread runs no event loop
    handOver.Close();
    worker.join();
    EXPECT_TRUE(closedSeen);
    QCoreApplication::processEvents();  // the queued call comes in late and does nothing
    EXPECT_FALSE(ran);
    EXPECT_THROW(handOver.Run([] {}), HandOverClosed);
}

}  // namespace
}  // namespace marvolt

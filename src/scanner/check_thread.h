#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "scanner/car_info.h"
#include "scanner/debug_log.h"
#include "scanner/entry_walk.h"
#include "scanner/hand_over.h"
#include "scanner/http_client.h"
#include "scanner/pacing.h"
#include "scanner/search_address.h"

namespace marvolt {

// A scanner: one thread that watches the site's search page for one task and hands every
// listing it has not seen to its owner as a found vehicle. Its first pass only learns the ids
// on the page; every later pass reports the entries above the newest known one, newest first.
// A failed pass is logged and the scanner goes on with a new HTTP client after a longer pause.
//
// The owner adds known ids, sets the receiver and hands over the task's values through
// Search(), then calls Start(). RequestStop() only asks; the thread ends at its next check.
class CheckThread {
  public:
    // Receives a found vehicle on the owner's thread; the record is valid until it returns.
    using CarFoundHandler = std::function<void(CheckThread& scanner, const CarInfo& car)>;

    CheckThread(std::string siteBaseUrl, HandOver& handOver, DebugLog log = DebugLog(),
                Pacing pacing = Pacing());
    // Stops the thread, aborting a transfer in progress, and waits for it to end.
    ~CheckThread();
    CheckThread(const CheckThread&) = delete;
    CheckThread& operator=(const CheckThread&) = delete;

    void AddKnownId(std::int32_t id) { knownIds_.insert(id); }
    // The setters of the task's values; they build the search address.
    SearchAddress& Search() { return search_; }
    void SetOnCarFound(CarFoundHandler handler) { onCarFound_ = std::move(handler); }

    // Lets the thread run; called once, after the known ids, the receiver and the values.
    void Start();
    // Sets the stop flag; a pause ends at once, a running entry walk is finished first.
    void RequestStop();
    // RequestStop, and ends a transfer in progress at once; for closing the program.
    void Abort();
    // True once the thread body has returned (or it never ran).
    bool Finished() const { return finished_; }

  private:
    void Execute();
    void FirstPass();
    void LaterPass();
    void HandleListing(std::int32_t id);
    void DeliverCar();
    void ErrorPath(const std::string& message);
    // Waits `slices` slices, or less when a stop is requested.
    void Pause(int slices);
    bool StopRequested();
    std::string Fetch(const std::string& url);
    std::string SiteUrl(const std::string& address) const;
    void ReplaceHttpClient();

    const std::string siteBaseUrl_;
    HandOver& handOver_;
    const DebugLog log_;
    const Pacing pacing_;
    SearchAddress search_;
    KnownIds knownIds_;
    CarInfo carInfo_;
    CarFoundHandler onCarFound_;
    bool firstPassDone_ = false;

    std::mutex mutex_;  // guards stop_, aborted_ and the swap of http_
    std::condition_variable wake_;
    bool stop_ = false;
    bool aborted_ = false;
    std::unique_ptr<HttpClient> http_;
    std::atomic<bool> finished_ = true;
    std::thread thread_;
};

}  // namespace marvolt

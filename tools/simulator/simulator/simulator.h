#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "simulator/faults.h"
#include "simulator/listing.h"
#include "simulator/sms_gateway.h"

namespace marvolt::sim {

using Clock = std::function<TimePoint()>;

struct SimulatorOptions {
    int port = 0;  // 0: any free port
    std::uint32_t seed = 1;
    double ratePerMinute = 3;  // new listings per minute; 0: only those a caller publishes
    int backlog = 40;          // listings online at start, from the last 30 hours
    SmsAccount sms;
    std::chrono::milliseconds faultDelay{11000};     // past the scanner's 10-second read time-out
    std::size_t trickleBytes = 64;                   // a trickling body comes in pieces this big,
    std::chrono::milliseconds trickleInterval{250};  // one piece per interval
    Clock clock;                                     // empty: the system clock
    // One line per request, called from the server's threads; empty: no log.
    std::function<void(const std::string&)> log;
};

// The classifieds site and the SMS gateway on one loopback HTTP server. Every member may be
// called from any thread.
class Simulator {
  public:
    explicit Simulator(SimulatorOptions options);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Listens on 127.0.0.1; raises std::runtime_error when the port cannot be had.
    void Start();
    // Ends the server; requests being answered end early. Safe to call more than once.
    void Stop();

    int Port() const;
    std::string BaseUrl() const;  // "http://127.0.0.1:PORT"

    // Puts the catalogue's next listing online at once and returns it.
    Listing PublishNow();
    // Puts a listing made by the caller online at once (id 0: the next free id).
    Listing Publish(Listing listing);
    // Every listing online, newest first, after publishing whatever is due by the clock.
    std::vector<Listing> Listings();

    void SetFault(RequestKind kind, Fault fault, FaultRule rule);
    void ClearFaults();

    std::vector<SmsMessage> Messages() const;
    int SmsBalance() const;
    void SetSmsBalance(int balance);

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace marvolt::sim

#include "scanner/check_thread.h"

#include <sys/resource.h>
#include <unistd.h>

#include "scanner/conversion_error.h"
#include "scanner/detail_extraction.h"
#include "scanner/page_text.h"
#include "scanner/site_interface.h"

namespace marvolt {

namespace {

HttpOptions SiteClientOptions() {
    HttpOptions options;
    options.userAgent = std::string(site::kUserAgent);
    options.connectTimeoutMs = site::kConnectTimeoutMs;
    options.readTimeoutMs = site::kReadTimeoutMs;
    options.followRedirects = true;
    return options;
}

// The lowest priority above idle, so scanning never competes with the desktop.
void LowerThreadPriority() {
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
}

}  // namespace

CheckThread::CheckThread(std::string siteBaseUrl, HandOver& handOver, DebugLog log, Pacing pacing)
    : siteBaseUrl_(std::move(siteBaseUrl)),
      handOver_(handOver),
      log_(std::move(log)),
      pacing_(pacing),
      search_(siteBaseUrl_),
      http_(std::make_unique<HttpClient>(SiteClientOptions())) {
    log_.Write("Thread TCheckThread started");
}

CheckThread::~CheckThread() {
    Abort();
    if (thread_.joinable()) {
        thread_.join();
    } else {
        log_.Write("Thread TCheckThread stopped");
    }
}

void CheckThread::Start() {
    finished_ = false;
    thread_ = std::thread([this] { Execute(); });
}

void CheckThread::RequestStop() {
    const std::lock_guard lock(mutex_);
    stop_ = true;
    wake_.notify_all();
}

void CheckThread::Abort() {
    const std::lock_guard lock(mutex_);
    stop_ = true;
    aborted_ = true;
    http_->Abort();
    wake_.notify_all();
}

bool CheckThread::StopRequested() {
    const std::lock_guard lock(mutex_);
    return stop_;
}

void CheckThread::Execute() {
    LowerThreadPriority();
    while (!StopRequested()) {
        try {
            if (!firstPassDone_) {
                FirstPass();
                firstPassDone_ = true;
            } else {
                LaterPass();
            }
        } catch (const std::exception& error) {
            ErrorPath(error.what());
        }
        Pause(DrawSlices(pacing_.passMinSlices, pacing_.passMaxSlices));
    }
    log_.Write("Thread TCheckThread stopped");
    finished_ = true;
}

std::string CheckThread::Fetch(const std::string& url) {
    // Only this thread replaces the client, so using it without the lock is safe.
    return http_->Get(url);
}

void CheckThread::FirstPass() {
    const IdScan scan = ScanAllIds(NormalizePage(Fetch(search_.Url())));
    for (const std::int32_t id : scan.ids) {
        AddKnownId(id);
    }
    if (!scan.error.empty()) {
        throw ConversionError(scan.error);
    }
}

void CheckThread::LaterPass() {
    log_.Write("Opening " + search_.Url());
    const IdScan scan = ScanNewIds(NormalizePage(Fetch(search_.Url())), knownIds_);
    // Each id is known before its listing is handled, so a listing that fails is never
    // tried again; the failure ends the walk.
    for (const std::int32_t id : scan.ids) {
        AddKnownId(id);
        HandleListing(id);
    }
    if (!scan.error.empty()) {
        throw ConversionError(scan.error);
    }
}

void CheckThread::HandleListing(std::int32_t id) {
    const std::string page = NormalizePage(Fetch(siteBaseUrl_ + site::DetailPagePath(id)));
    ResetCarInfo(carInfo_);
    carInfo_.IdSchedule = search_.IdSchedule();
    carInfo_.Id = id;
    EvaluatePage(page, carInfo_, log_);
    handOver_.Run([this] { DeliverCar(); });
}

void CheckThread::DeliverCar() {
    if (!carInfo_.PictureUrl.empty()) {
        carInfo_.Picture = Fetch(SiteUrl(carInfo_.PictureUrl));
    }
    if (onCarFound_) {
        onCarFound_(*this, carInfo_);
    }
}

std::string CheckThread::SiteUrl(const std::string& address) const {
    // A picture address written relative to the site's root is on the site itself.
    return address.starts_with('/') && !address.starts_with("//") ? siteBaseUrl_ + address
                                                                  : address;
}

void CheckThread::ErrorPath(const std::string& message) {
    log_.Write(message);
    ReplaceHttpClient();
    Pause(DrawSlices(pacing_.errorMinSlices, pacing_.errorMaxSlices));
}

void CheckThread::ReplaceHttpClient() {
    auto fresh = std::make_unique<HttpClient>(SiteClientOptions());
    const std::lock_guard lock(mutex_);
    if (aborted_) {
        fresh->Abort();
    }
    http_ = std::move(fresh);
}

void CheckThread::Pause(int slices) {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, pacing_.slice * slices, [this] { return stop_; });
}

}  // namespace marvolt

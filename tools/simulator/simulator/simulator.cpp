#include "simulator/simulator.h"

#include <httplib.h>
#include <sys/socket.h>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>

#include "simulator/connection_drop.h"
#include "simulator/demo_page.h"
#include "simulator/detail_page.h"
#include "simulator/html_text.h"
#include "simulator/market.h"
#include "simulator/picture.h"
#include "simulator/query_string.h"
#include "simulator/search_page.h"
#include "simulator/search_query.h"

namespace marvolt::sim {

namespace {

constexpr std::size_t kResultsPerPage = 20;
constexpr char kHtml[] = "text/html; charset=UTF-8";
constexpr char kPlain[] = "text/plain; charset=UTF-8";

// The address part of a Host header when it is a plain host name or address and port, so
// nothing a client sends can reach a page's mark-up.
std::optional<std::string> SafeHost(const std::string& host) {
    if (host.empty() || host.size() > 255) {
        return std::nullopt;
    }
    for (char c : host) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                        (c >= '0' && c <= '9') || c == '.' || c == '-' || c == ':' || c == '[' ||
                        c == ']';
        if (!ok) {
            return std::nullopt;
        }
    }
    return host;
}

// A page as a site with a broken encoding set-up sends it: Latin-1 where UTF-8 was meant.
std::string BreakUtf8(std::string body) {
    std::string broken;
    broken.reserve(body.size() + 32);
    for (std::size_t i = 0; i < body.size(); ++i) {
        const auto lead = static_cast<unsigned char>(body[i]);
        if ((lead == 0xC2 || lead == 0xC3) && i + 1 < body.size()) {
            const auto next = static_cast<unsigned char>(body[i + 1]);
            broken += static_cast<char>(((lead & 0x03) << 6) | (next & 0x3F));
            ++i;
        } else {
            broken += body[i];
        }
    }
    // Make sure at least one such byte stands outside any comment.
    const auto title = broken.find("<title>");
    if (title != std::string::npos) {
        broken.insert(title + 7, "Angebote f\xFCr Sie - ");
    } else {
        broken += " \xFC";
    }
    return broken;
}

// The query as the log shows it: gateway passwords are not written out.
std::string ForLog(const std::string& target) {
    std::string shown = target;
    for (auto at = shown.find("password="); at != std::string::npos;
         at = shown.find("password=", at + 1)) {
        const auto start = at + 9;
        const auto end = shown.find('&', start);
        shown.replace(start, (end == std::string::npos ? shown.size() : end) - start, "***");
    }
    return shown;
}

}  // namespace

struct Simulator::Impl {
    explicit Impl(SimulatorOptions opts)
        : options(std::move(opts)),
          market(options.seed, options.ratePerMinute, options.backlog, Now()),
          gateway(options.sms),
          faults(options.seed) {}

    TimePoint Now() const {
        return options.clock ? options.clock() : std::chrono::system_clock::now();
    }

    // Waits, unless the server stops first; true when the whole time passed.
    bool Wait(std::chrono::milliseconds duration) {
        std::unique_lock lock(stopMutex);
        return !stopSignal.wait_for(lock, duration, [this] { return stopping; });
    }

    std::optional<Fault> DrawFault(RequestKind kind) {
        std::lock_guard lock(mutex);
        return faults.Draw(kind);
    }

    void Log(const httplib::Request& request, int status, std::size_t bytes,
             std::optional<Fault> fault) {
        if (!options.log) {
            return;
        }
        std::string line =
            request.remote_addr + ":" + std::to_string(request.remote_port) + " " + request.method +
            " " + ForLog(request.target) + " " +
            (status == 0 ? std::string("dropped")
                         : std::to_string(status) + " " + std::to_string(bytes) + " bytes");
        if (fault) {
            line += " fault=" + std::string(FaultName(*fault));
        }
        options.log(line);
    }

    std::string BaseUrlFor(const httplib::Request& request) const {
        const auto host = SafeHost(request.get_header_value("Host"));
        return "http://" + host.value_or("127.0.0.1:" + std::to_string(port));
    }

    // The faults that replace or hold up the answer. True when the answer is settled.
    bool Interfere(std::optional<Fault> fault, const httplib::Request& request,
                   httplib::Response& response) {
        if (!fault) {
            return false;
        }
        switch (*fault) {
            case Fault::Drop:
                if (!DropConnection(request.local_port, request.remote_port)) {
                    // Second best: promise a body and end the connection before it.
                    response.set_content_provider(
                        1024, kHtml,
                        [](std::size_t, std::size_t, httplib::DataSink&) { return false; });
                }
                Log(request, 0, 0, fault);
                return true;
            case Fault::Delay:
                if (Wait(options.faultDelay)) {
                    return false;
                }
                response.status = 503;
                response.set_content(RenderStatusPage(503, "Service Unavailable"), kHtml);
                Log(request, 503, response.body.size(), fault);
                return true;
            case Fault::Status500:
            case Fault::Status503: {
                const int status = *fault == Fault::Status500 ? 500 : 503;
                response.status = status;
                response.set_content(
                    RenderStatusPage(
                        status, status == 500 ? "Internal Server Error" : "Service Unavailable"),
                    kHtml);
                if (status == 503) {
                    response.set_header("Retry-After", "30");
                }
                Log(request, status, response.body.size(), fault);
                return true;
            }
            default:
                return false;
        }
    }

    // Sends a body, broken or trickling when the fault says so.
    void Answer(std::optional<Fault> fault, const httplib::Request& request,
                httplib::Response& response, std::string body, const char* type) {
        if (fault == Fault::BadUtf8) {
            body = BreakUtf8(std::move(body));
        }
        const auto size = body.size();
        response.status = 200;
        if (fault == Fault::Trickle && size > 0) {
            // With a known length the server sends the pieces as they come, uncompressed.
            auto shared = std::make_shared<std::string>(std::move(body));
            response.set_content_provider(
                size, type,
                [this, shared](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
                    if (offset > 0 && !Wait(options.trickleInterval)) {
                        return false;
                    }
                    const auto piece =
                        std::min({length, options.trickleBytes, shared->size() - offset});
                    return sink.write(shared->data() + offset, piece);
                });
        } else {
            response.set_content(std::move(body), type);
        }
        Log(request, 200, size, fault);
    }

    void NotFound(const httplib::Request& request, httplib::Response& response,
                  const std::string& message, std::optional<Fault> fault = std::nullopt) {
        response.status = 404;
        response.set_content(RenderStatusPage(404, message), kHtml);
        Log(request, 404, response.body.size(), fault);
    }

    std::optional<Listing> FindListing(const httplib::Request& request) {
        const auto id = FirstValue(SplitQuery(QueryOf(request.target)), "id");
        const auto number = id ? ToInt(*id) : std::nullopt;
        if (!number) {
            return std::nullopt;
        }
        std::lock_guard lock(mutex);
        market.CatchUp(Now());
        const Listing* listing = market.Find(*number);
        return listing ? std::optional<Listing>(*listing) : std::nullopt;
    }

    void Search(const httplib::Request& request, httplib::Response& response) {
        const auto fault = DrawFault(RequestKind::Search);
        if (Interfere(fault, request, response)) {
            return;
        }
        const auto kind = KindOfSearchPath(request.path).value_or(VehicleKind::Cars);
        const std::string query(QueryOf(request.target));
        const SearchFilter filter = ParseSearchQuery(kind, query);
        SearchPageContent content;
        content.kind = kind;
        content.query = query;
        content.pageNumber = filter.pageNumber;
        {
            std::lock_guard lock(mutex);
            const auto now = Now();
            market.CatchUp(now);
            const auto since = now - std::chrono::hours(24) * filter.days;
            const std::size_t first =
                (static_cast<std::size_t>(filter.pageNumber) - 1) * kResultsPerPage;
            for (const Listing* listing : market.Newest()) {
                if (listing->created > now || (filter.days > 0 && listing->created < since) ||
                    !Matches(filter, *listing)) {
                    continue;
                }
                if (content.total >= first && content.entries.size() < kResultsPerPage) {
                    content.entries.push_back(*listing);
                }
                ++content.total;
            }
        }
        content.pageCount =
            static_cast<int>((content.total + kResultsPerPage - 1) / kResultsPerPage);
        Answer(fault, request, response, RenderSearchPage(content), kHtml);
    }

    void PrintView(const httplib::Request& request, httplib::Response& response) {
        const auto fault = DrawFault(RequestKind::Detail);
        if (Interfere(fault, request, response)) {
            return;
        }
        const auto listing = FindListing(request);
        if (!listing) {
            NotFound(request, response, "This listing is no longer available", fault);
            return;
        }
        DetailPageOptions page{BaseUrlFor(request), fault == Fault::PriceWithDot};
        Answer(fault, request, response, RenderPrintView(*listing, page), kHtml);
    }

    void ShowDetails(const httplib::Request& request, httplib::Response& response) {
        const auto listing = FindListing(request);
        if (!listing) {
            NotFound(request, response, "This listing is no longer available");
            return;
        }
        Answer(std::nullopt, request, response, RenderShowDetails(*listing, BaseUrlFor(request)),
               kHtml);
    }

    void Picture(const httplib::Request& request, httplib::Response& response) {
        const auto fault = DrawFault(RequestKind::Picture);
        if (Interfere(fault, request, response)) {
            return;
        }
        std::optional<Listing> listing;
        if (const auto id = ToInt(request.matches[1].str())) {
            std::lock_guard lock(mutex);
            if (const Listing* found = market.Find(*id)) {
                listing = *found;
            }
        }
        if (!listing || !listing->hasPicture || fault == Fault::MissingPicture) {
            NotFound(request, response, "Picture not found", fault);
            return;
        }
        Answer(fault, request, response, DrawPicture(*listing), "image/jpeg");
    }

    void Gateway(const httplib::Request& request, httplib::Response& response, bool send) {
        const auto fault = DrawFault(RequestKind::Gateway);
        if (Interfere(fault, request, response)) {
            return;
        }
        std::string answer;
        {
            std::lock_guard lock(mutex);
            const auto query = QueryOf(request.target);
            answer = send ? gateway.Send(query, Now()) : gateway.Balance(query);
        }
        Answer(fault, request, response, std::move(answer), kPlain);
    }

    void Home(const httplib::Request& request, httplib::Response& response) {
        std::vector<Listing> newest;
        std::vector<SmsMessage> messages;
        int balance = 0;
        const auto now = Now();
        {
            std::lock_guard lock(mutex);
            market.CatchUp(now);
            for (const Listing* listing : market.Newest()) {
                if (newest.size() == 40) {
                    break;
                }
                if (listing->created <= now) {
                    newest.push_back(*listing);
                }
            }
            messages = gateway.Messages();
            balance = gateway.BalanceLeft();
        }
        Answer(std::nullopt, request, response, RenderHomePage(newest, messages, balance, now),
               kHtml);
    }

    void Route() {
        using Request = httplib::Request;
        using Response = httplib::Response;
        server.Get("/(auto|motorrad|lkw)/search\\.html",
                   [this](const Request& q, Response& r) { Search(q, r); });
        server.Get("/fahrzeuge/printView\\.html",
                   [this](const Request& q, Response& r) { PrintView(q, r); });
        server.Get("/fahrzeuge/showDetails\\.html",
                   [this](const Request& q, Response& r) { ShowDetails(q, r); });
        server.Get("/fahrzeuge/pictures/(\\d+)_1\\.jpg",
                   [this](const Request& q, Response& r) { Picture(q, r); });
        server.Get("/sms\\.do", [this](const Request& q, Response& r) { Gateway(q, r, true); });
        server.Get("/user\\.do", [this](const Request& q, Response& r) { Gateway(q, r, false); });
        server.Get("/", [this](const Request& q, Response& r) { Home(q, r); });
        server.Get(".*",
                   [this](const Request& q, Response& r) { NotFound(q, r, "Page not found"); });
    }

    SimulatorOptions options;
    mutable std::mutex mutex;  // guards market, gateway and faults
    Market market;
    SmsGateway gateway;
    FaultPlan faults;

    httplib::Server server;
    std::thread thread;
    int port = -1;
    std::mutex stopMutex;
    std::condition_variable stopSignal;
    bool stopping = false;
    bool started = false;
};

Simulator::Simulator(SimulatorOptions options)
    : impl_(std::make_unique<Impl>(std::move(options))) {}

Simulator::~Simulator() {
    Stop();
}

void Simulator::Start() {
    auto& impl = *impl_;
    if (impl.started) {
        return;
    }
    impl.Route();
    // Without SO_REUSEPORT, so a second stand-in on a taken port fails instead of sharing it.
    impl.server.set_socket_options([](socket_t socket) {
        int yes = 1;
        setsockopt(socket, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
    // Room for requests held up by faults besides the ones being served.
    impl.server.new_task_queue = [] { return new httplib::ThreadPool(16); };
    impl.server.set_keep_alive_timeout(1);
    const int wanted = impl.options.port;
    impl.port = wanted == 0 ? impl.server.bind_to_any_port("127.0.0.1")
                            : (impl.server.bind_to_port("127.0.0.1", wanted) ? wanted : -1);
    if (impl.port <= 0) {
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(wanted) +
                                 " (is the port in use?)");
    }
    impl.started = true;
    impl.thread = std::thread([&impl] { impl.server.listen_after_bind(); });
    // stop() only works on a running server, so do not hand out a half-started one.
    for (int i = 0; i < 5000 && !impl.server.is_running(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

void Simulator::Stop() {
    auto& impl = *impl_;
    {
        std::lock_guard lock(impl.stopMutex);
        impl.stopping = true;
    }
    impl.stopSignal.notify_all();
    if (impl.thread.joinable()) {
        impl.server.stop();
        impl.thread.join();
    }
}

int Simulator::Port() const {
    return impl_->port;
}

std::string Simulator::BaseUrl() const {
    return "http://127.0.0.1:" + std::to_string(impl_->port);
}

Listing Simulator::PublishNow() {
    std::lock_guard lock(impl_->mutex);
    const auto now = impl_->Now();
    impl_->market.CatchUp(now);
    return impl_->market.PublishNext(now);
}

Listing Simulator::Publish(Listing listing) {
    std::lock_guard lock(impl_->mutex);
    const auto now = impl_->Now();
    impl_->market.CatchUp(now);
    return impl_->market.Publish(std::move(listing), now);
}

std::vector<Listing> Simulator::Listings() {
    std::lock_guard lock(impl_->mutex);
    impl_->market.CatchUp(impl_->Now());
    std::vector<Listing> listings;
    for (const Listing* listing : impl_->market.Newest()) {
        listings.push_back(*listing);
    }
    return listings;
}

void Simulator::SetFault(RequestKind kind, Fault fault, FaultRule rule) {
    std::lock_guard lock(impl_->mutex);
    impl_->faults.Set(kind, fault, rule);
}

void Simulator::ClearFaults() {
    std::lock_guard lock(impl_->mutex);
    impl_->faults.Clear();
}

std::vector<SmsMessage> Simulator::Messages() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->gateway.Messages();
}

int Simulator::SmsBalance() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->gateway.BalanceLeft();
}

void Simulator::SetSmsBalance(int balance) {
    std::lock_guard lock(impl_->mutex);
    impl_->gateway.SetBalance(balance);
}

}  // namespace marvolt::sim

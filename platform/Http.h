// HTTP GET over libcurl: http and https only, HTTP error statuses fail, time-outs, a proxy
// (with user and password) only when one is given, never one from the environment, progress
// with abort, and a cap on the body size.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace Platform {

enum class THttpError {
    None,
    BadUrl,    // not an http or https address
    Connect,   // no connection, a name that does not resolve, a proxy refusal, a time-out
    Status,    // the server answered with an error status (Status holds it)
    TooLarge,  // the body is longer than MaxBytes
    Partial,   // the connection ended before the announced body was complete
    Aborted,   // the progress callback or Abort stopped the transfer
    Write,     // the sink refused the data
    Other,
};

struct THttpResult {
    THttpError Error = THttpError::None;
    long Status = 0;      // the HTTP status of the answer, 0 when none came
    std::string Message;  // one line saying what failed; empty on success
    bool Ok() const { return Error == THttpError::None; }
};

struct THttpProxy {
    std::string Host;  // a name or address; "http://" may lead
    int Port = 0;      // 0: the port of Host, else 1080
    std::string User;
    std::string Password;
};

struct THttpOptions {
    std::optional<THttpProxy> Proxy;
    long ConnectTimeoutSeconds = 30;
    // The transfer fails when fewer than LowSpeedBytes arrive per second for this long.
    long StallSeconds = 60;
    // 0: no cap; otherwise a body (announced or received) over MaxBytes fails with TooLarge.
    std::uint64_t MaxBytes = 0;
};

// Received: body bytes so far; Total: the announced body length, -1 when none was announced.
// Returning false aborts the transfer.
using THttpProgress = std::function<bool(std::uint64_t received, std::int64_t total)>;
// Takes the next piece of the body; false stops the transfer with THttpError::Write.
using THttpSink = std::function<bool(const char* data, std::size_t size)>;

class THttpClient {
public:
    THttpClient() = default;
    THttpClient(const THttpClient&) = delete;
    THttpClient& operator=(const THttpClient&) = delete;

    THttpOptions Options;

    // GETs Url, handing the body to Sink piece by piece.
    THttpResult Get(const std::string& url, const THttpSink& sink, const THttpProgress& progress = {});
    // GETs Url into Body (replaced; on failure it holds what arrived).
    THttpResult GetToString(const std::string& url, std::string& body, const THttpProgress& progress = {});

    // Stops a running Get from any thread at its next progress step, and every later one.
    void Abort() { abort_ = true; }
    bool Aborted() const { return abort_; }

private:
    std::atomic<bool> abort_{false};
};

// True for "http://..." and "https://..." (scheme in any letter case) with a host.
bool IsHttpUrl(std::string_view url);
// Percent-escapes everything but letters, digits and "-._~" (UTF-8 bytes as they are).
std::string UrlEscape(std::string_view text);

}  // namespace Platform

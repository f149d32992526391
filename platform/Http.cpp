#include "platform/Http.h"

#include <curl/curl.h>

#include <cctype>
#include <memory>
#include <mutex>

namespace Platform {
namespace {

void GlobalInit()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct TTransfer {
    const THttpSink* Sink = nullptr;
    const THttpProgress* Progress = nullptr;
    const std::atomic<bool>* AbortFlag = nullptr;
    CURL* Curl = nullptr;
    std::uint64_t MaxBytes = 0;
    std::uint64_t Received = 0;
    bool TooLarge = false;
    bool SinkFailed = false;
    bool Stopped = false;  // by the progress callback or Abort
};

std::int64_t AnnouncedLength(CURL* curl)
{
    curl_off_t length = -1;
    if (curl_easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK)
        return -1;
    return length;
}

bool ErrorStatus(CURL* curl)
{
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    return status >= 400;
}

std::size_t WriteBody(char* data, std::size_t size, std::size_t count, void* user)
{
    auto* t = static_cast<TTransfer*>(user);
    const std::size_t bytes = size * count;
    if (ErrorStatus(t->Curl))
        return bytes;  // an error page is not the body; the status fails the transfer
    if (t->MaxBytes != 0) {
        const std::int64_t announced = AnnouncedLength(t->Curl);
        if ((announced >= 0 && static_cast<std::uint64_t>(announced) > t->MaxBytes)
            || t->Received + bytes > t->MaxBytes) {
            t->TooLarge = true;
            return CURL_WRITEFUNC_ERROR;
        }
    }
    if (t->AbortFlag->load()) {
        t->Stopped = true;
        return CURL_WRITEFUNC_ERROR;
    }
    if (!(*t->Sink)(data, bytes)) {
        t->SinkFailed = true;
        return CURL_WRITEFUNC_ERROR;
    }
    t->Received += bytes;
    return bytes;
}

int Progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    auto* t = static_cast<TTransfer*>(user);
    if (t->AbortFlag->load()) {
        t->Stopped = true;
        return 1;
    }
    if (t->Progress != nullptr && *t->Progress && !ErrorStatus(t->Curl)) {
        if (!(*t->Progress)(t->Received, AnnouncedLength(t->Curl))) {
            t->Stopped = true;
            return 1;
        }
    }
    return 0;
}

struct TCurlDeleter {
    void operator()(CURL* c) const { curl_easy_cleanup(c); }
};

std::string ProxyAddress(const THttpProxy& proxy)
{
    std::string host = proxy.Host;
    if (host.find("://") == std::string::npos)
        host = "http://" + host;
    return host;
}

}  // namespace

bool IsHttpUrl(std::string_view url)
{
    auto startsWith = [&](std::string_view prefix) {
        if (url.size() <= prefix.size())
            return false;
        for (std::size_t i = 0; i < prefix.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(url[i])) != prefix[i])
                return false;
        return true;
    };
    return startsWith("http://") || startsWith("https://");
}

std::string UrlEscape(std::string_view text)
{
    static const char* hex = "0123456789ABCDEF";
    std::string out;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

THttpResult THttpClient::Get(const std::string& url, const THttpSink& sink, const THttpProgress& progress)
{
    THttpResult result;
    if (!IsHttpUrl(url)) {
        result.Error = THttpError::BadUrl;
        result.Message = "not an http or https address: " + url;
        return result;
    }
    GlobalInit();
    std::unique_ptr<CURL, TCurlDeleter> curl(curl_easy_init());
    if (!curl) {
        result.Error = THttpError::Other;
        result.Message = "cannot start an HTTP transfer";
        return result;
    }
    TTransfer t;
    t.Sink = &sink;
    t.Progress = &progress;
    t.AbortFlag = &abort_;
    t.Curl = curl.get();
    t.MaxBytes = Options.MaxBytes;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, Options.ConnectTimeoutSeconds);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, Options.StallSeconds);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &WriteBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &Progress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &t);
    curl_easy_setopt(c, CURLOPT_USERAGENT, "LexoraXP");
    if (Options.MaxBytes != 0)
        curl_easy_setopt(c, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(Options.MaxBytes));
    std::string proxy;
    if (Options.Proxy && !Options.Proxy->Host.empty()) {
        proxy = ProxyAddress(*Options.Proxy);
        curl_easy_setopt(c, CURLOPT_PROXY, proxy.c_str());
        curl_easy_setopt(c, CURLOPT_PROXYPORT, static_cast<long>(Options.Proxy->Port > 0 ? Options.Proxy->Port : 1080));
        if (!Options.Proxy->User.empty()) {
            curl_easy_setopt(c, CURLOPT_PROXYUSERNAME, Options.Proxy->User.c_str());
            curl_easy_setopt(c, CURLOPT_PROXYPASSWORD, Options.Proxy->Password.c_str());
            curl_easy_setopt(c, CURLOPT_PROXYAUTH, CURLAUTH_ANY);
        }
    } else {
        curl_easy_setopt(c, CURLOPT_PROXY, "");  // none from the environment either
    }

    // The multi interface, so that Abort is seen within a poll interval even while no data
    // flows (a stalled server, a slow name look-up).
    CURLcode code = CURLE_OK;
    CURLM* multi = curl_multi_init();
    if (multi == nullptr || curl_multi_add_handle(multi, c) != CURLM_OK) {
        if (multi != nullptr)
            curl_multi_cleanup(multi);
        result.Error = THttpError::Other;
        result.Message = "cannot start an HTTP transfer";
        return result;
    }
    for (;;) {
        int running = 0;
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            code = CURLE_FAILED_INIT;
            break;
        }
        if (running == 0) {
            int queued = 0;
            while (CURLMsg* m = curl_multi_info_read(multi, &queued))
                if (m->msg == CURLMSG_DONE)
                    code = m->data.result;
            break;
        }
        if (abort_.load()) {
            t.Stopped = true;
            code = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        curl_multi_poll(multi, nullptr, 0, 50, nullptr);
    }
    curl_multi_remove_handle(multi, c);
    curl_multi_cleanup(multi);
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &result.Status);
    if (code == CURLE_OK && result.Status < 400)
        return result;
    const std::string detail = errorBuffer[0] != 0 ? errorBuffer : curl_easy_strerror(code);
    if (t.TooLarge || code == CURLE_FILESIZE_EXCEEDED) {
        result.Error = THttpError::TooLarge;
        result.Message = "the answer is larger than " + std::to_string(Options.MaxBytes) + " bytes";
    } else if (result.Status >= 400 || code == CURLE_HTTP_RETURNED_ERROR) {
        result.Error = THttpError::Status;
        result.Message = "the server answered with status " + std::to_string(result.Status);
    } else if (t.Stopped || code == CURLE_ABORTED_BY_CALLBACK) {
        result.Error = THttpError::Aborted;
        result.Message = "the transfer was stopped";
    } else if (t.SinkFailed) {
        result.Error = THttpError::Write;
        result.Message = "the received data cannot be stored";
    } else if (code == CURLE_PARTIAL_FILE || code == CURLE_RECV_ERROR || code == CURLE_GOT_NOTHING) {
        result.Error = THttpError::Partial;
        result.Message = "the connection ended early: " + detail;
    } else if (code == CURLE_COULDNT_CONNECT || code == CURLE_COULDNT_RESOLVE_HOST
               || code == CURLE_COULDNT_RESOLVE_PROXY || code == CURLE_OPERATION_TIMEDOUT || code == CURLE_SEND_ERROR
               || code == CURLE_SSL_CONNECT_ERROR) {
        result.Error = THttpError::Connect;
        result.Message = detail;
    } else if (code == CURLE_UNSUPPORTED_PROTOCOL || code == CURLE_URL_MALFORMAT) {
        result.Error = THttpError::BadUrl;
        result.Message = detail;
    } else {
        result.Error = THttpError::Other;
        result.Message = detail;
    }
    return result;
}

THttpResult THttpClient::GetToString(const std::string& url, std::string& body, const THttpProgress& progress)
{
    body.clear();
    return Get(
        url,
        [&body](const char* data, std::size_t size) {
            body.append(data, size);
            return true;
        },
        progress);
}

}  // namespace Platform

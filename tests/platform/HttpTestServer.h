// A small HTTP/1.1 server on 127.0.0.1 (a free port) for the HTTP tests: one thread accepts,
// each connection is answered by the test's handler. An answer may come slowly, stop half
// way, or announce another length than it sends. Header-only: the platform and window tests
// share it.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace HttpTest {

struct TRequest {
    std::string Method;
    std::string Target;                          // as sent: "/path?query" or, to a proxy, "http://host:port/path"
    std::string Path;                            // Target without scheme, host and query
    std::string Query;                           // after "?"
    std::map<std::string, std::string> Headers;  // names in lower case
};

struct TResponse {
    int Status = 200;
    std::string Body;
    std::vector<std::pair<std::string, std::string>> Headers;
    long long ContentLength = -2;  // -2: the body's length; -1: none announced (close ends it)
    std::size_t ChunkSize = 0;     // 0: all at once; else pieces of this size ...
    int ChunkDelayMs = 0;          // ... with this pause between them
    long long StopAfter = -1;      // close the connection after this many body bytes
};

using THandler = std::function<TResponse(const TRequest&)>;

class TServer {
public:
    explicit TServer(THandler handler)
        : handler_(std::move(handler))
    {
        listen_ = ::socket(AF_INET, SOCK_STREAM, 0);
        int one = 1;
        ::setsockopt(listen_, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        addr.sin_port = 0;
        ::bind(listen_, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::listen(listen_, 16);
        socklen_t len = sizeof addr;
        ::getsockname(listen_, reinterpret_cast<sockaddr*>(&addr), &len);
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { Run(); });
    }
    ~TServer()
    {
        stop_ = true;
        thread_.join();
        for (std::thread& t : connections_)
            t.join();
        ::close(listen_);
    }
    TServer(const TServer&) = delete;
    TServer& operator=(const TServer&) = delete;

    int Port() const { return port_; }
    std::string Url(const std::string& path = "") const { return "http://127.0.0.1:" + std::to_string(port_) + path; }
    std::vector<TRequest> Requests() const
    {
        std::lock_guard lock(mutex_);
        return requests_;
    }

private:
    void Run()
    {
        while (!stop_) {
            pollfd p{listen_, POLLIN, 0};
            if (::poll(&p, 1, 50) <= 0)
                continue;
            const int fd = ::accept(listen_, nullptr, nullptr);
            if (fd < 0)
                continue;
            connections_.emplace_back([this, fd] { Serve(fd); });
        }
    }

    bool ReadRequest(int fd, TRequest& request)
    {
        std::string head;
        char ch = 0;
        while (head.size() < 65536 && head.find("\r\n\r\n") == std::string::npos) {
            pollfd p{fd, POLLIN, 0};
            if (stop_ || ::poll(&p, 1, 100) < 0)
                return false;
            if ((p.revents & (POLLIN | POLLHUP)) == 0)
                continue;
            if (::recv(fd, &ch, 1, 0) != 1)
                return false;
            head += ch;
        }
        const std::size_t lineEnd = head.find("\r\n");
        const std::string line = head.substr(0, lineEnd);
        const std::size_t s1 = line.find(' ');
        const std::size_t s2 = line.find(' ', s1 + 1);
        if (s1 == std::string::npos || s2 == std::string::npos)
            return false;
        request.Method = line.substr(0, s1);
        request.Target = line.substr(s1 + 1, s2 - s1 - 1);
        std::string path = request.Target;
        if (const std::size_t scheme = path.find("://"); scheme != std::string::npos) {
            const std::size_t slash = path.find('/', scheme + 3);
            path = slash == std::string::npos ? "/" : path.substr(slash);
        }
        if (const std::size_t q = path.find('?'); q != std::string::npos) {
            request.Query = path.substr(q + 1);
            path.resize(q);
        }
        request.Path = path;
        std::size_t at = lineEnd + 2;
        while (at < head.size()) {
            const std::size_t end = head.find("\r\n", at);
            if (end == std::string::npos || end == at)
                break;
            const std::string header = head.substr(at, end - at);
            if (const std::size_t colon = header.find(':'); colon != std::string::npos) {
                std::string name = header.substr(0, colon);
                for (char& c : name)
                    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                std::string value = header.substr(colon + 1);
                while (!value.empty() && value.front() == ' ')
                    value.erase(0, 1);
                request.Headers[name] = value;
            }
            at = end + 2;
        }
        return true;
    }

    bool Send(int fd, const char* data, std::size_t size)
    {
        while (size > 0) {
            const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
            if (n <= 0)
                return false;
            data += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }

    void Serve(int fd)
    {
        TRequest request;
        if (ReadRequest(fd, request)) {
            {
                std::lock_guard lock(mutex_);
                requests_.push_back(request);
            }
            const TResponse r = handler_(request);
            std::string head = "HTTP/1.1 " + std::to_string(r.Status) + " X\r\nConnection: close\r\n";
            const long long length = r.ContentLength == -2 ? static_cast<long long>(r.Body.size()) : r.ContentLength;
            if (length >= 0)
                head += "Content-Length: " + std::to_string(length) + "\r\n";
            for (const auto& [name, value] : r.Headers)
                head += name + ": " + value + "\r\n";
            head += "\r\n";
            if (Send(fd, head.data(), head.size())) {
                std::size_t limit = r.Body.size();
                if (r.StopAfter >= 0 && static_cast<std::size_t>(r.StopAfter) < limit)
                    limit = static_cast<std::size_t>(r.StopAfter);
                const std::size_t chunk = r.ChunkSize == 0 ? limit : r.ChunkSize;
                for (std::size_t at = 0; at < limit && !stop_; at += chunk) {
                    if (!Send(fd, r.Body.data() + at, std::min(chunk, limit - at)))
                        break;
                    if (r.ChunkDelayMs > 0)
                        std::this_thread::sleep_for(std::chrono::milliseconds(r.ChunkDelayMs));
                }
            }
        }
        ::shutdown(fd, SHUT_RDWR);
        ::close(fd);
    }

    THandler handler_;
    int listen_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::vector<std::thread> connections_;
    mutable std::mutex mutex_;
    std::vector<TRequest> requests_;
};

// "Basic " + base64(user:password), as a proxy expects it.
inline std::string BasicAuthorization(const std::string& user, const std::string& password)
{
    static const char* table = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const std::string in = user + ":" + password;
    std::string out;
    for (std::size_t i = 0; i < in.size(); i += 3) {
        unsigned v = static_cast<unsigned char>(in[i]) << 16;
        if (i + 1 < in.size())
            v |= static_cast<unsigned char>(in[i + 1]) << 8;
        if (i + 2 < in.size())
            v |= static_cast<unsigned char>(in[i + 2]);
        out += table[(v >> 18) & 63];
        out += table[(v >> 12) & 63];
        out += i + 1 < in.size() ? table[(v >> 6) & 63] : '=';
        out += i + 2 < in.size() ? table[v & 63] : '=';
    }
    return "Basic " + out;
}

// A proxy in front of Origin's handler: it answers requests in absolute form that carry the
// right credentials, and refuses others with 407.
inline THandler ProxyFor(THandler origin, std::string user, std::string password)
{
    return [origin = std::move(origin), auth = BasicAuthorization(user, password)](const TRequest& r) {
        const auto it = r.Headers.find("proxy-authorization");
        if (r.Target.rfind("http://", 0) != 0 || it == r.Headers.end() || it->second != auth) {
            TResponse refused;
            refused.Status = 407;
            refused.Headers.emplace_back("Proxy-Authenticate", "Basic realm=\"test\"");
            return refused;
        }
        return origin(r);
    };
}

}  // namespace HttpTest

// platform/Http against a real server on 127.0.0.1: bodies, statuses, the size cap, a body
// that stops half way, abort from the progress callback and from another thread, a proxy
// with user and password, and the addresses it refuses.
#include "platform/Http.h"
#include "tests/platform/HttpTestServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace Platform;
using HttpTest::TRequest;
using HttpTest::TResponse;

namespace {

std::string Bytes(std::size_t n)
{
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>('a' + i % 26);
    return s;
}

TResponse Route(const TRequest& r)
{
    TResponse a;
    if (r.Path == "/text") {
        a.Body = "VERMAJ=4\r\nVERMIN=0\r\n";
    } else if (r.Path == "/big") {
        a.Body = Bytes(200000);
        a.ChunkSize = 16384;
    } else if (r.Path == "/unannounced") {
        a.Body = Bytes(5000);
        a.ContentLength = -1;
    } else if (r.Path == "/half") {
        a.Body = Bytes(100000);
        a.StopAfter = 50000;
    } else if (r.Path == "/slow") {
        a.Body = Bytes(100000);
        a.ChunkSize = 1000;
        a.ChunkDelayMs = 20;
    } else if (r.Path == "/very-slow") {  // 100 s in all
        a.Body = Bytes(100000);
        a.ChunkSize = 1000;
        a.ChunkDelayMs = 1000;
    } else if (r.Path == "/redirect-file") {
        a.Status = 302;
        a.Headers.emplace_back("Location", "file:///etc/passwd");
    } else {
        a.Status = 404;
        a.Body = "<html>not here</html>";
    }
    return a;
}

}  // namespace

TEST(Http, BodyIntoStringAndProgressUpToTheAnnouncedLength)
{
    HttpTest::TServer server(Route);
    THttpClient client;
    std::string body;
    std::int64_t lastTotal = -5;
    std::uint64_t lastReceived = 0;
    const THttpResult r = client.GetToString(server.Url("/big"), body, [&](std::uint64_t received, std::int64_t total) {
        lastReceived = received;
        lastTotal = total;
        return true;
    });
    ASSERT_TRUE(r.Ok()) << r.Message;
    EXPECT_EQ(r.Status, 200);
    EXPECT_EQ(body, Bytes(200000));
    EXPECT_EQ(lastTotal, 200000);
    EXPECT_LE(lastReceived, 200000u);

    std::string text;
    ASSERT_TRUE(client.GetToString(server.Url("/unannounced"), text).Ok());
    EXPECT_EQ(text.size(), 5000u);
}

TEST(Http, ErrorStatusFailsAndTheErrorPageIsNotTheBody)
{
    HttpTest::TServer server(Route);
    THttpClient client;
    std::string body;
    const THttpResult r = client.GetToString(server.Url("/missing"), body);
    EXPECT_EQ(r.Error, THttpError::Status);
    EXPECT_EQ(r.Status, 404);
    EXPECT_TRUE(body.empty());
}

TEST(Http, SizeCapRefusesAnnouncedAndUnannouncedBodies)
{
    HttpTest::TServer server(Route);
    THttpClient client;
    client.Options.MaxBytes = 1000;
    std::string body;
    EXPECT_EQ(client.GetToString(server.Url("/big"), body).Error, THttpError::TooLarge);
    EXPECT_LE(body.size(), 1000u);
    EXPECT_EQ(client.GetToString(server.Url("/unannounced"), body).Error, THttpError::TooLarge);
    EXPECT_LE(body.size(), 1000u);
    client.Options.MaxBytes = 5000;  // exactly the size passes
    EXPECT_TRUE(client.GetToString(server.Url("/unannounced"), body).Ok());
}

TEST(Http, BodyStoppedHalfWayIsPartial)
{
    HttpTest::TServer server(Route);
    THttpClient client;
    std::string body;
    const THttpResult r = client.GetToString(server.Url("/half"), body);
    EXPECT_EQ(r.Error, THttpError::Partial) << r.Message;
    EXPECT_EQ(body.size(), 50000u);
}

TEST(Http, ProgressCallbackAndAbortFromAnotherThreadStopTheTransfer)
{
    HttpTest::TServer server(Route);
    {
        THttpClient client;
        std::string body;
        const THttpResult r = client.GetToString(server.Url("/slow"), body,
                                                 [](std::uint64_t received, std::int64_t) { return received < 10000; });
        EXPECT_EQ(r.Error, THttpError::Aborted);
        EXPECT_LT(body.size(), 100000u);
    }
    {
        THttpClient client;
        std::string body;
        // Stopped once the server has the request: long before the answer would end.
        std::thread stopper([&] {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
            while (server.Requests().empty() && std::chrono::steady_clock::now() < deadline)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            client.Abort();
        });
        const auto start = std::chrono::steady_clock::now();
        const THttpResult r = client.GetToString(server.Url("/very-slow"), body);
        stopper.join();
        EXPECT_EQ(r.Error, THttpError::Aborted);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
        // Aborted stays aborted.
        EXPECT_EQ(client.GetToString(server.Url("/text"), body).Error, THttpError::Aborted);
    }
}

TEST(Http, OnlyHttpAndHttpsAddressesAndRedirects)
{
    HttpTest::TServer server(Route);
    THttpClient client;
    std::string body;
    for (const char* url : {"file:///etc/passwd", "ftp://127.0.0.1/x", "gopher://x", "", "http://", "/relative"})
        EXPECT_EQ(client.GetToString(url, body).Error, THttpError::BadUrl) << url;
    const THttpResult r = client.GetToString(server.Url("/redirect-file"), body);
    EXPECT_FALSE(r.Ok());
    EXPECT_TRUE(body.empty());
    EXPECT_TRUE(IsHttpUrl("HTTPS://example.org/"));
}

TEST(Http, ProxyWithUserAndPassword)
{
    HttpTest::TServer origin(Route);
    HttpTest::TServer proxy(HttpTest::ProxyFor(Route, "anna", "p@ss:word"));
    THttpClient client;
    client.Options.Proxy = THttpProxy{"127.0.0.1", proxy.Port(), "anna", "p@ss:word"};
    std::string body;
    const THttpResult r = client.GetToString(origin.Url("/text"), body);
    ASSERT_TRUE(r.Ok()) << r.Message;
    EXPECT_EQ(body, "VERMAJ=4\r\nVERMIN=0\r\n");
    EXPECT_TRUE(origin.Requests().empty());  // it went through the proxy

    client.Options.Proxy->Password = "wrong";
    const THttpResult refused = client.GetToString(origin.Url("/text"), body);
    EXPECT_EQ(refused.Error, THttpError::Status);
    EXPECT_EQ(refused.Status, 407);
}

TEST(Http, NoServerIsAConnectError)
{
    int port = 0;
    {
        HttpTest::TServer gone(Route);
        port = gone.Port();
    }
    THttpClient client;
    std::string body;
    EXPECT_EQ(client.GetToString("http://127.0.0.1:" + std::to_string(port) + "/", body).Error, THttpError::Connect);
}

TEST(Http, UrlEscapeLeavesOnlyUnreservedCharacters)
{
    EXPECT_EQ(UrlEscape("Lexora XP&x=1/../é"), "Lexora%20XP%26x%3D1%2F..%2F%C3%A9");
    EXPECT_EQ(UrlEscape("a-b_c.d~"), "a-b_c.d~");
}

#include "app/update_check.h"
#include "app/packed_version.h"
#include "app/preferences.h"
#include "app/product_site.h"
#include "app/update_available_event.h"
#include "app/update_prompt.h"
#include "platform/message_recorder.h"
#include "scoped_env.h"
#include "test_support.h"
#include "url_recorder.h"

#include <lumora/registry.h>

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <chrono>
#include <optional>

namespace lumora {
namespace {

using namespace std::chrono_literals;

// A tiny HTTP server on 127.0.0.1, served on the test's thread while it waits with events
// pumped. Each connection's request head is recorded; then it gets the canned reply and is
// closed, or, without a reply, is held open and never answered.
class LocalHttpServer {
public:
    explicit LocalHttpServer(std::optional<std::string> reply) : reply_(std::move(reply)) {
        EXPECT_TRUE(server_.listen(QHostAddress::LocalHost));
        QObject::connect(&server_, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* client = server_.nextPendingConnection())
                QObject::connect(client, &QTcpSocket::readyRead, [this, client] { Read(*client); });
        });
    }
    static std::string Reply(const std::string& body, int status = 200, const std::string& headers = "") {
        return "HTTP/1.1 " + std::to_string(status) + " Status\r\nContent-Length: " + std::to_string(body.size()) +
               "\r\nConnection: close\r\n" + headers + "\r\n" + body;
    }
    std::string Url() const { return "http://127.0.0.1:" + std::to_string(server_.serverPort()) + "/"; }
    // The request heads so far, once `count` have come (at most 10 s later).
    const std::vector<std::string>& Requests(std::size_t count = 0) {
        static_cast<void>(QTest::qWaitFor([&] { return requests_.size() >= count; }, count ? 10000 : 0));
        return requests_;
    }

private:
    void Read(QTcpSocket& client) {
        const QByteArray head = client.property("head").toByteArray() + client.readAll();
        client.setProperty("head", head);
        if (!head.contains("\r\n\r\n")) return;
        QObject::disconnect(&client, &QTcpSocket::readyRead, nullptr, nullptr);
        requests_.push_back(head.toStdString());
        if (!reply_) return;
        client.write(reply_->data(), static_cast<qint64>(reply_->size()));
        client.disconnectFromHost();
    }

    std::optional<std::string> reply_;
    QTcpServer server_;  // owns the connections
    std::vector<std::string> requests_;
};

TEST(ProductSite, OnlyAnHttpAddressInTheSettingsCounts) {
    test::TempDir dir;
    test::ScopedEnv config("LUMORA_CONFIG_DIR", dir.path().c_str());
    WriteRegDword(HKEY_LOCAL_MACHINE, kLumoraKey, ProductSite::kSiteAddressValue, 1);
    EXPECT_FALSE(ProductSite::FromSettings());  // a number is no address
    WriteRegString(HKEY_LOCAL_MACHINE, kLumoraKey, ProductSite::kSiteAddressValue, " http://127.0.0.1:8080/a b");
    const auto site = ProductSite::FromSettings();
    ASSERT_TRUE(site);
    EXPECT_EQ(std::tuple(site->CheckUpdateUrl(), site->DownloadUrl()),
              std::tuple("http://127.0.0.1:8080/a%20b/checkupdate.php", "http://127.0.0.1:8080/a%20b/download.php"));
    test::UrlRecorder browser;
    EXPECT_TRUE(site->VisitHomePage());
    EXPECT_EQ(browser.urls(), std::vector<std::string>{"http://127.0.0.1:8080/a%20b/"});

    for (const char* bad : {"", "127.0.0.1/", "file:///tmp/", "ftp://127.0.0.1/", "javascript:alert(1)",
                            "http:///path/", "http://127.0.0.1/?q=1", "http://127.0.0.1/#top", "http://[::1/"}) {
        EXPECT_FALSE(ProductSite::FromAddress(bad)) << bad;
    }
}

// One check against `url`, answered No; the questions it asked, once it has finished.
std::vector<MessageRequest> Check(const std::string& url) {
    MessageRecorder recorder(id::kNo);
    UpdatePrompt prompt(nullptr);
    UpdateCheck check;
    const auto site = ProductSite::FromAddress(url);
    EXPECT_TRUE(site);
    if (!site) return {};
    EXPECT_TRUE(check.Start(*site, &prompt));
    EXPECT_TRUE(QTest::qWaitFor([&] { return check.WaitFinished(0ms); }, 10000));
    QCoreApplication::sendPostedEvents(&prompt);
    return recorder.Messages();
}

std::string Question(const char* server) {
    return std::string("You are using 1.0.0.9 version of the application. There is the newer version ") + server +
           " available on the server.\nWould you like to visit Lumora web site to download the latest version?";
}

// The reply is read as strtoul reads its first eight bytes; a negated number is not the
// highest version there is.
TEST(UpdateCheck, OnlyANewerVersionInTheFirstEightBytesAsksTheUserAndRedirectsStayOnTheWeb) {
    // The body, the status and the version the question names (or none).
    const std::tuple<std::string, int, const char*> replies[] = {
        {"0100000A", 200, "1.0.0.10"},
        {" 2000000\r\n", 200, "2.0.0.0"},
        {"0100000B" + std::string(4 << 20, 'x'), 200, "1.0.0.11"},
        {"0x0100000A", 200, nullptr},  // "0x010000"
        {"01000009", 200, nullptr},
        {" -1", 200, nullptr},
        {std::string(1, '\0') + "1", 200, nullptr},
        {"", 200, nullptr},
        {"<html><body><h1>Not Found</h1></body></html>", 404, nullptr},
    };
    for (const auto& [body, status, version] : replies) {
        LocalHttpServer server(LocalHttpServer::Reply(body, status));
        const auto asked = Check(server.Url());
        const auto requests = server.Requests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].rfind("GET /checkupdate.php HTTP/1.1\r\n", 0), 0u) << requests[0];
        EXPECT_NE(requests[0].find("\r\nUser-Agent: Lumora\r\n"), std::string::npos) << requests[0];
        ASSERT_EQ(asked.size(), version ? 1u : 0u) << body.substr(0, 20);
        if (version) {
            EXPECT_EQ(std::tie(asked[0].text, asked[0].caption, asked[0].flags),
                      std::tuple(Question(version), "Lumora", mb::kYesNo | mb::kIconQuestion));
        }
    }

    // Redirects are followed only to web addresses.
    LocalHttpServer target(LocalHttpServer::Reply("0100000A"));
    LocalHttpServer moved(LocalHttpServer::Reply("", 302, "Location: " + target.Url() + "new.php\r\n"));
    const auto asked = Check(moved.Url());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, Question("1.0.0.10"));
    ASSERT_EQ(target.Requests().size(), 1u);
    EXPECT_EQ(target.Requests()[0].rfind("GET /new.php ", 0), 0u);

    // A file that would read as a newer version is never fetched; a refused connection
    // ends the check silently.
    test::TempDir dir;
    test::WriteFileText(dir.file("version"), "0200000000");
    LocalHttpServer toFile(LocalHttpServer::Reply("", 302, "Location: file://" + dir.file("version") + "\r\n"));
    EXPECT_TRUE(Check(toFile.Url()).empty());
    EXPECT_TRUE(Check("http://127.0.0.1:1/").empty());  // nothing listens on port 1
}

TEST(UpdateCheck, StopEndsAHangingRequestAtOnce) {
    LocalHttpServer server{std::nullopt};
    MessageRecorder recorder(id::kYes);
    UpdatePrompt prompt(nullptr);
    const std::size_t threadsBefore = test::ThreadCount();
    const auto site = *ProductSite::FromAddress(server.Url());
    for (std::size_t attempt = 1; attempt <= 5; ++attempt) {
        UpdateCheck check;
        ASSERT_TRUE(check.Start(site, &prompt));
        EXPECT_FALSE(check.Start(site, &prompt));                  // one check per object
        ASSERT_EQ(server.Requests(attempt).size(), attempt);       // the request is out, its answer never comes
        EXPECT_FALSE(check.WaitFinished(20ms));
        const auto start = std::chrono::steady_clock::now();
        check.Stop();
        EXPECT_LT(std::chrono::steady_clock::now() - start, 300ms);
    }
    {
        UpdateCheck destroyed;  // the destructor stops and joins too
        ASSERT_TRUE(destroyed.Start(site, &prompt));
        ASSERT_EQ(server.Requests(6).size(), 6u);
    }
    EXPECT_EQ(test::ThreadCountSettledAt(threadsBefore), threadsBefore);
    QCoreApplication::sendPostedEvents(&prompt);
    EXPECT_TRUE(recorder.Messages().empty());
}

TEST(UpdatePrompt, YesOpensTheDownloadPageAndSaysWhenItCannot) {
    QWidget owner;
    UpdatePrompt prompt(&owner);
    MessageRecorder recorder(id::kNo);
    test::UrlRecorder noBrowser(/*opens=*/false);
    prompt.Offer(PackedVersion(0x01020304), "http://127.0.0.1/download.php");
    EXPECT_TRUE(noBrowser.urls().empty());  // No opens nothing
    recorder.SetAnswer(id::kYes);
    QCoreApplication::postEvent(&prompt, new UpdateAvailableEvent(PackedVersion(0xFFFEFD00), "http://127.0.0.1/d"));
    QCoreApplication::sendPostedEvents(&prompt);
    EXPECT_EQ(noBrowser.urls(), std::vector<std::string>{"http://127.0.0.1/d"});
    const auto& shown = recorder.Messages();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_NE(shown[1].text.find(" version 255.254.253.0 available"), std::string::npos);
    EXPECT_EQ(std::tie(shown[1].owner, shown[2].owner, shown[2].text, shown[2].flags),
              std::tuple(&owner, &owner, "Couldn't open Lumora web site!", mb::kIconWarning));
}

}  // namespace
}  // namespace lumora

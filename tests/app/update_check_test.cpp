#include "app/update_check.h"
#include "app/packed_version.h"
#include "app/preferences.h"
#include "app/product_site.h"
#include "app/update_available_event.h"
#include "app/update_prompt.h"
#include "local_http_server.h"
#include "platform/message_recorder.h"
#include "test_support.h"
#include "url_recorder.h"

#include <lumora/registry.h>

#include <gtest/gtest.h>
#include <QCoreApplication>

#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <iostream>
#include <optional>

namespace lumora {
namespace {

using namespace std::chrono_literals;
using test::LocalHttpServer;

TEST(PackedVersion, ReadsTheFirstEightBytesAsStrtoulDoes) {
    EXPECT_EQ(PackedVersion::FromReply(" \t0x1F\r\n").value(), 0x1Fu);
    EXPECT_EQ(PackedVersion::FromReply("0x0100000A").value(), 0x10000u);  // "0x010000"
    // A negated number is not the highest version there is.
    EXPECT_EQ(PackedVersion::FromReply(" -1").value(), 0u);
    EXPECT_EQ(PackedVersion::FromReply(std::string(1, '\0') + "1").value(), 0u);
    EXPECT_EQ(PackedVersion(0xFFFEFD00).Text(), "255.254.253.0");
}

class ProductSiteTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("LUMORA_CONFIG_DIR", dir_.path().c_str(), 1); }
    void TearDown() override { ::unsetenv("LUMORA_CONFIG_DIR"); }
    test::TempDir dir_;
};

TEST_F(ProductSiteTest, OnlyAnHttpAddressInTheSettingsCounts) {
    EXPECT_FALSE(ProductSite::FromSettings());  // none by default
    WriteRegDword(HKEY_LOCAL_MACHINE, kLumoraKey, ProductSite::kSiteAddressValue, 1);
    EXPECT_FALSE(ProductSite::FromSettings());  // a number is no address
    WriteRegString(HKEY_LOCAL_MACHINE, kLumoraKey, ProductSite::kSiteAddressValue, " http://127.0.0.1:8080/a b");
    const auto site = ProductSite::FromSettings();
    ASSERT_TRUE(site);
    EXPECT_EQ(site->CheckUpdateUrl(), "http://127.0.0.1:8080/a%20b/checkupdate.php");
    EXPECT_EQ(site->DownloadUrl(), "http://127.0.0.1:8080/a%20b/download.php");
    test::UrlRecorder browser;
    EXPECT_TRUE(site->VisitHomePage());
    EXPECT_EQ(browser.urls(), std::vector<std::string>{"http://127.0.0.1:8080/a%20b/"});

    for (const char* bad : {"", "127.0.0.1/", "file:///tmp/", "ftp://127.0.0.1/", "javascript:alert(1)",
                            "http:///path/", "http://127.0.0.1/?q=1", "http://127.0.0.1/#top", "http://[::1/"}) {
        EXPECT_FALSE(ProductSite::FromAddress(bad)) << bad;
    }
}

// One check against `url`, answered No; the questions it asked, once it has finished.
class UpdateCheckTest : public ::testing::Test {
protected:
    std::vector<MessageRequest> Check(const std::string& url) {
        MessageRecorder recorder(id::kNo);
        UpdatePrompt prompt(nullptr);
        UpdateCheck check;
        const auto site = ProductSite::FromAddress(url);
        EXPECT_TRUE(site);
        if (!site) return {};
        EXPECT_TRUE(check.Start(*site, &prompt));
        EXPECT_TRUE(check.WaitFinished(10s));
        QCoreApplication::sendPostedEvents(&prompt);
        return recorder.Messages();
    }
    std::vector<MessageRequest> CheckReply(const std::string& body, int status = 200) {
        LocalHttpServer server(LocalHttpServer::Reply(body, status));
        auto asked = Check(server.Url());
        const auto requests = server.Requests();
        EXPECT_EQ(requests.size(), 1u);
        if (!requests.empty()) {
            EXPECT_EQ(requests[0].rfind("GET /checkupdate.php HTTP/1.1\r\n", 0), 0u) << requests[0];
            EXPECT_NE(requests[0].find("\r\nUser-Agent: Lumora\r\n"), std::string::npos) << requests[0];
        }
        return asked;
    }
    static std::string Question(const char* server) {
        return std::string("You are using 1.0.0.9 version of the application. There is the newer version ") + server +
               " available on the server.\nWould you like to visit Lumora web site to download the latest version?";
    }
};

TEST_F(UpdateCheckTest, OnlyANewerVersionInTheFirstEightBytesAsksTheUser) {
    const struct {
        std::string body;
        int status;
        const char* asked;  // the version the question names, or none
    } replies[] = {
        {"0100000A", 200, "1.0.0.10"},
        {"0200000000", 200, "2.0.0.0"},
        {"0100000B" + std::string(4 << 20, 'x'), 200, "1.0.0.11"},
        {"01000009", 200, nullptr},
        {"01000008", 200, nullptr},
        {"1.0.0.10", 200, nullptr},
        {"", 200, nullptr},
        {"zzzzzzzz", 200, nullptr},
        {"<html><body><h1>Not Found</h1></body></html>", 404, nullptr},
    };
    for (const auto& reply : replies) {
        const auto asked = CheckReply(reply.body, reply.status);
        ASSERT_EQ(asked.size(), reply.asked ? 1u : 0u) << reply.body.substr(0, 20);
        if (!reply.asked) continue;
        EXPECT_EQ(asked[0].text, Question(reply.asked));
        EXPECT_EQ(asked[0].caption, "Lumora");
        EXPECT_EQ(asked[0].flags, mb::kYesNo | mb::kIconQuestion);
    }
}

TEST_F(UpdateCheckTest, FollowsRedirectsOnlyToWebAddresses) {
    LocalHttpServer target(LocalHttpServer::Reply("0100000A"));
    LocalHttpServer moved(LocalHttpServer::Reply("", 302, "Location: " + target.Url() + "new.php\r\n"));
    const auto asked = Check(moved.Url());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, Question("1.0.0.10"));
    ASSERT_EQ(target.Requests().size(), 1u);
    EXPECT_EQ(target.Requests()[0].rfind("GET /new.php ", 0), 0u);

    // A file that would read as a newer version is never fetched.
    test::TempDir dir;
    test::WriteFileText(dir.file("version"), "0200000000");
    LocalHttpServer toFile(LocalHttpServer::Reply("", 302, "Location: file://" + dir.file("version") + "\r\n"));
    EXPECT_TRUE(Check(toFile.Url()).empty());
}

TEST_F(UpdateCheckTest, ARefusedConnectionEndsTheCheckSilently) {
    int refused = -1;
    EXPECT_TRUE(Check(test::RefusedUrl(refused)).empty());
    ::close(refused);
}

TEST_F(UpdateCheckTest, StopEndsAHangingRequestAtOnce) {
    LocalHttpServer server{LocalHttpServer::Hang{}};
    MessageRecorder recorder(id::kYes);
    UpdatePrompt prompt(nullptr);
    const std::size_t threadsBefore = test::ThreadCount();
    const auto site = *ProductSite::FromAddress(server.Url());
    std::chrono::steady_clock::duration worst{};
    for (std::size_t attempt = 1; attempt <= 20; ++attempt) {
        UpdateCheck check;
        ASSERT_TRUE(check.Start(site, &prompt));
        EXPECT_FALSE(check.Start(site, &prompt));                  // one check per object
        ASSERT_EQ(server.Requests(attempt, 10s).size(), attempt);  // the request is out, its answer never comes
        EXPECT_FALSE(check.WaitFinished(20ms));
        const auto start = std::chrono::steady_clock::now();
        check.Stop();
        worst = std::max(worst, std::chrono::steady_clock::now() - start);
    }
    {
        UpdateCheck destroyed;  // the destructor stops and joins too
        ASSERT_TRUE(destroyed.Start(site, &prompt));
        ASSERT_EQ(server.Requests(21, 10s).size(), 21u);
    }
    const auto worstMs = std::chrono::duration<double, std::milli>(worst).count();
    RecordProperty("WorstStopMilliseconds", std::to_string(worstMs));
    std::cout << "worst Stop of 20 against a hanging server: " << worstMs << " ms\n";
    EXPECT_LT(worst, 300ms);
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
    QCoreApplication::postEvent(&prompt, new UpdateAvailableEvent(PackedVersion(0x01020304), "http://127.0.0.1/d"));
    QCoreApplication::sendPostedEvents(&prompt);
    EXPECT_EQ(noBrowser.urls(), std::vector<std::string>{"http://127.0.0.1/d"});
    const auto& shown = recorder.Messages();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_NE(shown[1].text.find(" version 1.2.3.4 available"), std::string::npos);
    EXPECT_EQ(shown[1].owner, &owner);
    EXPECT_EQ(shown[2].text, "Couldn't open Lumora web site!");
    EXPECT_EQ(shown[2].flags, mb::kIconWarning);
    EXPECT_EQ(shown[2].owner, &owner);
}

}  // namespace
}  // namespace lumora

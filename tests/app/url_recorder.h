// UrlRecorder: takes every address UrlOpener would open while it lives, records it and
// answers whether it "opened". Puts the previous hook back on destruction.
#pragma once

#include "platform/url_opener.h"

#include <string>
#include <vector>

namespace lumora::test {

class UrlRecorder {
public:
    explicit UrlRecorder(bool opens = true) : opens_(opens) {
        previous_ = UrlOpener::Instance().SetHook([this](const std::string& url) {
            urls_.push_back(url);
            return opens_;
        });
    }
    ~UrlRecorder() { UrlOpener::Instance().SetHook(std::move(previous_)); }

    const std::vector<std::string>& urls() const { return urls_; }

private:
    bool opens_;
    std::vector<std::string> urls_;
    UrlOpener::Hook previous_;
};

}  // namespace lumora::test

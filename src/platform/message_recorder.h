// Takes every message box while it lives: records what would have been shown and answers
// with a preset button. For tests, which assert the exact text and flags.
//
// Thread: user-interface thread. Lifetime: installs its hook on construction and puts the
// previous one back on destruction, so recorders nest.
#pragma once

#include "platform/message_presenter.h"

#include <vector>

namespace lumora {

class MessageRecorder {
public:
    explicit MessageRecorder(int answer = id::kOk);
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    void SetAnswer(int answer) { answer_ = answer; }
    const std::vector<MessageRequest>& Messages() const { return messages_; }
    void Clear() { messages_.clear(); }

private:
    int answer_;
    std::vector<MessageRequest> messages_;
    MessagePresenter::Hook previous_;
};

}  // namespace lumora

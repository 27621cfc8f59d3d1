#include "platform/message_recorder.h"

namespace lumora {

MessageRecorder::MessageRecorder(int answer) : answer_(answer) {
    previous_ = MessagePresenter::Instance().SetHook([this](const MessageRequest& request) {
        messages_.push_back(request);
        return answer_;
    });
}

MessageRecorder::~MessageRecorder() { MessagePresenter::Instance().SetHook(std::move(previous_)); }

}  // namespace lumora

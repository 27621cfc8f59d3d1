#include "platform/media_error.h"

namespace lumora {
namespace {

struct RecordedError {
    HRESULT code = S_OK;
    std::string text;
};

thread_local RecordedError t_recorded;

const char* StandardText(HRESULT hr) {
    switch (hr) {
        case E_FAIL: return "Unspecified error";
        case E_POINTER: return "Invalid pointer";
        case E_INVALIDARG: return "The parameter is incorrect.";
        case E_OUTOFMEMORY: return "Not enough memory resources are available to complete this operation.";
        case E_UNEXPECTED: return "Catastrophic failure";
        case E_NOINTERFACE: return "No such interface supported";
        case E_NOTIMPL: return "Not implemented";
        default: return "";
    }
}

// Cuts `text` to at most `max` bytes without splitting a UTF-8 sequence.
std::string CutUtf8(std::string text, std::size_t max) {
    if (text.size() <= max) return text;
    std::size_t end = max;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.resize(end);
    return text;
}

}  // namespace

HRESULT RecordMediaError(HRESULT hr, const std::string& text) {
    t_recorded.code = hr;
    t_recorded.text = text;
    return hr;
}

void ClearMediaError() { t_recorded = RecordedError{}; }

std::string MediaErrorText(HRESULT hr) {
    if (t_recorded.code == hr && !t_recorded.text.empty()) {
        return CutUtf8(t_recorded.text, kMediaErrorTextMax);
    }
    return StandardText(hr);
}

}  // namespace lumora

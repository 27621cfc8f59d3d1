#include "video/counter_grabber_callback.h"

namespace lumora {

HRESULT CounterGrabberCallback::BufferCB(double, const unsigned char* buffer, long length) {
    if (buffer && length > 0) counter_.TryAdd(static_cast<std::uint64_t>(length));
    return S_OK;
}

}  // namespace lumora

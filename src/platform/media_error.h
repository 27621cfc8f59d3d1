// Texts for media error codes, as the media framework would give them.
//
// A GStreamer failure is mapped to an HRESULT by the code that sees it; that code records
// the GError message with RecordMediaError() on its own thread, and a message box shown
// later on the same thread finds it with MediaErrorText(). Codes without a recorded text
// get the framework's standard wording. Thread-safe: the record is per thread.
#pragma once

#include "platform/hresult.h"

#include <string>

namespace lumora {

// Longest text a media error may contribute to a message, in characters.
constexpr std::size_t kMediaErrorTextMax = 160;

// Remembers `text` as the explanation of `hr` for the calling thread and returns `hr`,
// so a failing call can end with `return RecordMediaError(E_FAIL, error->message);`.
HRESULT RecordMediaError(HRESULT hr, const std::string& text);

// Forgets the calling thread's recorded text.
void ClearMediaError();

// The text for `hr`: the calling thread's recorded text when it was recorded for this code,
// else the standard text of a known code, else "" (no text). At most kMediaErrorTextMax
// characters, cut on a UTF-8 character boundary.
std::string MediaErrorText(HRESULT hr);

}  // namespace lumora

// The message-box functions every part of Lumora reports through. All boxes carry the
// caption "Lumora"; a null text counts as "". Failures of the system or of the media
// framework append their code and text:
//
//     <text>
//
//     System error message (0x80004005):
//     <system text>
//
// Thread: user-interface thread only (see MessagePresenter).
#pragma once

#include "platform/hresult.h"
#include "platform/message_presenter.h"

#include <cstdint>
#include <string>

namespace lumora {

// Remembers the owner window of ShowAppMessage and ShowMediaErrorMessage.
void SetMessageOwner(QObject* owner);

// A plain box; answers the button pressed.
int ShowMessage(QObject* owner, const char* text, unsigned flags);

// A plain box owned by the remembered owner window.
int ShowAppMessage(const char* text, unsigned flags);

// A box about the calling thread's last system error (errno, read on entry), with the
// system's text for it; errno 0 shows the plain text.
int ShowLastErrorMessage(QObject* owner, const char* text, unsigned flags);

// A box about a media failure: for a failing `hr` that has a text (MediaErrorText), the
// composed text; otherwise the plain text.
int ShowMediaErrorMessage(const char* text, unsigned flags, HRESULT hr);

// The composed text: `text`, a blank line (both only when `text` is not empty), then
// "System error message (0x%4.4X):" with `code`, a line break and `systemText`.
std::string ComposeSystemErrorText(const char* text, std::uint32_t code,
                                   const std::string& systemText);

}  // namespace lumora

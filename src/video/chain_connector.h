// ChainConnector: joins the elements of a source pipeline the way the graph's intelligent
// connect does. A connection takes the upstream element's first free source pad (one
// offering video first) and the downstream element's first free sink pad (asking request
// pads of elements such as tee and avimux for a new one). Raw video is linked directly only
// when whatever the upstream may send (its negotiated caps, once it has them) is taken as
// it is, and goes through a colour converter otherwise, which costs nothing when the
// format turns out to fit; other data is linked directly when the caps meet, and MJPG
// goes through a JPEG decoder and a converter when they do not. Elements it adds take the
// state of the bin, so it can also join the pads that a decoder exposes while the pipeline
// starts.
//
// Threads: the user-interface thread while the bin is in NULL or READY, or the streaming
// thread that exposes a pad (the pad-added handler of a decoder). Lifetime: borrows the bin.
#pragma once

#include "platform/hresult.h"

#include <gst/gst.h>

#include <initializer_list>

namespace lumora {

class ChainConnector {
public:
    // How two pads are joined: as they are, through a colour converter, or through a JPEG
    // decoder and a converter; kNone when nothing joins them.
    enum class Join { kDirect, kConvert, kDecodeJpeg, kNone };

    explicit ChainConnector(GstBin* bin) : bin_(bin) {}

    // E_POINTER when a pad is missing; E_FAIL when nothing joins them.
    HRESULT Connect(GstElement* upstream, GstElement* downstream) const;
    HRESULT Connect(GstPad* upstream, GstElement* downstream) const;

    // The first unlinked pad of `element` in `direction` (for a source pad one offering
    // video first), else a new request pad; null when there is none. The caller unrefs.
    static GstPad* FreePad(GstElement* element, GstPadDirection direction);

    // Sets every element of the bin except those in `keep` to NULL and removes it (with
    // its links); what lies downstream of a kept capture source goes this way.
    void RemoveAllExcept(std::initializer_list<GstElement*> keep) const;

private:
    HRESULT LinkThrough(GstPad* upstream, GstPad* downstream, std::initializer_list<const char*> factories) const;

    GstBin* bin_;
};

}  // namespace lumora

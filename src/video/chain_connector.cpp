#include "video/chain_connector.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace lumora {
namespace {

bool CapsHave(const GstCaps* caps, const char* mediaType) {
    for (guint i = 0; i < gst_caps_get_size(caps); ++i) {
        if (gst_structure_has_name(gst_caps_get_structure(caps, i), mediaType)) return true;
    }
    return false;
}

bool OffersVideo(GstPad* pad) {
    GstCaps* caps = gst_pad_query_caps(pad, nullptr);
    bool video = gst_caps_is_any(caps);
    for (guint i = 0; i < gst_caps_get_size(caps) && !video; ++i) {
        const char* name = gst_structure_get_name(gst_caps_get_structure(caps, i));
        video = std::strncmp(name, "video/", 6) == 0 || std::strncmp(name, "image/", 6) == 0;
    }
    gst_caps_unref(caps);
    return video;
}

std::vector<GstPad*> UnlinkedPads(GstElement* element, GstPadDirection direction) {
    std::vector<GstPad*> pads;
    GstIterator* iterator = direction == GST_PAD_SRC ? gst_element_iterate_src_pads(element)
                                                     : gst_element_iterate_sink_pads(element);
    GValue item = G_VALUE_INIT;
    while (gst_iterator_next(iterator, &item) == GST_ITERATOR_OK) {
        auto* pad = GST_PAD(g_value_get_object(&item));
        if (!gst_pad_is_linked(pad)) pads.push_back(GST_PAD(gst_object_ref(pad)));
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(iterator);
    return pads;
}

// A new request pad, from a video template when there is one.
GstPad* RequestPad(GstElement* element, GstPadDirection direction) {
    GstPadTemplate* chosen = nullptr;
    for (GList* item = gst_element_class_get_pad_template_list(GST_ELEMENT_GET_CLASS(element)); item;
         item = item->next) {
        auto* pad = GST_PAD_TEMPLATE(item->data);
        if (GST_PAD_TEMPLATE_DIRECTION(pad) != direction || GST_PAD_TEMPLATE_PRESENCE(pad) != GST_PAD_REQUEST) {
            continue;
        }
        const bool video = std::strncmp(GST_PAD_TEMPLATE_NAME_TEMPLATE(pad), "video", 5) == 0;
        if (chosen == nullptr || video) chosen = pad;
        if (video) break;
    }
    return chosen ? gst_element_request_pad(element, chosen, nullptr, nullptr) : nullptr;
}

// What the upstream pad gives: the negotiated caps once there are any, else everything it
// may offer. The caller unrefs.
GstCaps* OfferedCaps(GstPad* upstream) {
    GstCaps* current = gst_pad_get_current_caps(upstream);
    return current ? current : gst_pad_query_caps(upstream, nullptr);
}

// A pad's template (a decoder's lists formats it never produces for the stream at hand)
// is no promise: raw video links directly only when everything it may be is taken as it
// is, and encoded data when the two sides have anything in common at all. A source that
// does not tell before it runs (appsrc) meets a converter when raw video is wanted.
ChainConnector::Join ChooseJoin(GstPad* upstream, GstPad* downstream) {
    GstCaps* offered = OfferedCaps(upstream);
    GstCaps* accepted = gst_pad_query_caps(downstream, nullptr);
    ChainConnector::Join join = ChainConnector::Join::kNone;
    if (gst_caps_is_any(accepted)) {
        join = ChainConnector::Join::kDirect;
    } else if (gst_caps_is_any(offered)) {
        join = CapsHave(accepted, "video/x-raw") ? ChainConnector::Join::kConvert : ChainConnector::Join::kDirect;
    } else if (CapsHave(offered, "video/x-raw")) {
        join = gst_caps_is_subset(offered, accepted) ? ChainConnector::Join::kDirect : ChainConnector::Join::kConvert;
    } else if (gst_caps_can_intersect(offered, accepted)) {
        join = ChainConnector::Join::kDirect;
    } else if (CapsHave(offered, "image/jpeg")) {
        join = ChainConnector::Join::kDecodeJpeg;
    }
    gst_caps_unref(offered);
    gst_caps_unref(accepted);
    return join;
}

}  // namespace

GstPad* ChainConnector::FreePad(GstElement* element, GstPadDirection direction) {
    std::vector<GstPad*> pads = UnlinkedPads(element, direction);
    GstPad* chosen = nullptr;
    if (direction == GST_PAD_SRC) {
        const auto video = std::find_if(pads.begin(), pads.end(), OffersVideo);
        if (video != pads.end()) chosen = *video;
    }
    if (chosen == nullptr && !pads.empty()) chosen = pads.front();
    for (GstPad* pad : pads) {
        if (pad != chosen) gst_object_unref(pad);
    }
    return chosen ? chosen : RequestPad(element, direction);
}

HRESULT ChainConnector::Connect(GstElement* upstream, GstElement* downstream) const {
    GstPad* pad = FreePad(upstream, GST_PAD_SRC);
    if (pad == nullptr) return E_POINTER;
    const HRESULT hr = Connect(pad, downstream);
    gst_object_unref(pad);
    return hr;
}

HRESULT ChainConnector::Connect(GstPad* upstream, GstElement* downstream) const {
    GstPad* sink = FreePad(downstream, GST_PAD_SINK);
    if (sink == nullptr) return E_POINTER;
    HRESULT hr = E_FAIL;
    switch (ChooseJoin(upstream, sink)) {
        case Join::kDirect: hr = GST_PAD_LINK_SUCCESSFUL(gst_pad_link(upstream, sink)) ? S_OK : E_FAIL; break;
        case Join::kConvert: hr = LinkThrough(upstream, sink, {"videoconvert"}); break;
        case Join::kDecodeJpeg: hr = LinkThrough(upstream, sink, {"jpegdec", "videoconvert"}); break;
        case Join::kNone: break;
    }
    gst_object_unref(sink);
    return hr;
}

// Builds upstream -> factories... -> downstream. The new elements are linked downstream
// first and brought to the bin's state before the upstream pad joins them, so a running
// upstream never pushes into an element that cannot take data yet.
HRESULT ChainConnector::LinkThrough(GstPad* upstream, GstPad* downstream,
                                    std::initializer_list<const char*> factories) const {
    std::vector<GstElement*> chain;
    for (const char* factory : factories) {
        GstElement* element = gst_element_factory_make(factory, nullptr);
        if (element == nullptr) {
            for (GstElement* made : chain) gst_object_unref(made);
            return E_FAIL;
        }
        chain.push_back(GST_ELEMENT(gst_object_ref_sink(element)));
    }
    bool linked = true;
    for (GstElement* element : chain) linked = gst_bin_add(bin_, element) && linked;
    for (std::size_t i = 0; linked && i + 1 < chain.size(); ++i) linked = gst_element_link(chain[i], chain[i + 1]);
    if (linked) {
        GstPad* last = gst_element_get_static_pad(chain.back(), "src");
        linked = GST_PAD_LINK_SUCCESSFUL(gst_pad_link(last, downstream));
        gst_object_unref(last);
    }
    for (auto element = chain.rbegin(); linked && element != chain.rend(); ++element) {
        linked = gst_element_sync_state_with_parent(*element);
    }
    if (linked) {
        GstPad* first = gst_element_get_static_pad(chain.front(), "sink");
        linked = GST_PAD_LINK_SUCCESSFUL(gst_pad_link(upstream, first));
        gst_object_unref(first);
    }
    for (GstElement* element : chain) gst_object_unref(element);
    return linked ? S_OK : E_FAIL;
}

void ChainConnector::RemoveAllExcept(std::initializer_list<GstElement*> keep) const {
    std::vector<GstElement*> doomed;
    GstIterator* iterator = gst_bin_iterate_elements(bin_);
    GValue item = G_VALUE_INIT;
    while (gst_iterator_next(iterator, &item) == GST_ITERATOR_OK) {
        auto* element = GST_ELEMENT(g_value_get_object(&item));
        if (std::find(keep.begin(), keep.end(), element) == keep.end()) {
            doomed.push_back(GST_ELEMENT(gst_object_ref(element)));
        }
        g_value_reset(&item);
    }
    g_value_unset(&item);
    gst_iterator_free(iterator);
    for (GstElement* element : doomed) {
        gst_element_set_state(element, GST_STATE_NULL);
        gst_bin_remove(bin_, element);
        gst_object_unref(element);
    }
}

}  // namespace lumora

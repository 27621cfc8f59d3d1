#include "video/element_state.h"

namespace lumora {

bool RegisterElementFactory(const char* factory, GType type, GstDebugCategory** category, const char* description) {
    GST_DEBUG_CATEGORY_INIT(*category, factory, 0, description);
    return gst_element_register(nullptr, factory, GST_RANK_NONE, type) != FALSE;
}

void DescribeElementClass(gpointer klass, GObjectFinalizeFunc finalize, const char* longName,
                          const char* classification, const char* description,
                          std::initializer_list<GstStaticPadTemplate*> pads) {
    G_OBJECT_CLASS(klass)->finalize = finalize;
    GstElementClass* elementClass = GST_ELEMENT_CLASS(klass);
    gst_element_class_set_static_metadata(elementClass, longName, classification, description, "Lumora");
    for (GstStaticPadTemplate* pad : pads) gst_element_class_add_static_pad_template(elementClass, pad);
}

}  // namespace lumora

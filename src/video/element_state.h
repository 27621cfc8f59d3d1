// What the GStreamer elements of our own (the grabber, the push source, the preview sink)
// share: the instance is the parent class's instance followed by one pointer to the
// element's C++ state, which the instance init makes (null only when memory ran out) and
// the finalize deletes. Each element's file names its types with these and G_DEFINE_TYPE:
//
//   using LumoraGrabber = ElementInstance<GstBaseTransform, GrabberState>;
//   using LumoraGrabberClass = ElementClass<GstBaseTransformClass>;
//   G_DEFINE_TYPE(LumoraGrabber, lumora_grabber, GST_TYPE_BASE_TRANSFORM)
//
// Thread: the GObject type system's (class and instance init, finalize).
#pragma once

#include <gst/gst.h>

#include <initializer_list>

namespace lumora {

template <class Parent, class State>
struct ElementInstance {
    Parent parent;
    State* state;
};

template <class ParentClass>
struct ElementClass {
    ParentClass parentClass;
};

// The state of `element`, an instance of `Instance` (the caller has checked its type).
template <class Instance>
auto* ElementStateOf(gpointer element) {
    return static_cast<Instance*>(element)->state;
}

// The finalize: deletes the state, then runs the parent class's finalize; `parentClass` is
// the <type>_parent_class that G_DEFINE_TYPE defines.
template <class Instance, gpointer* parentClass>
void FinalizeElement(GObject* object) {
    auto* self = reinterpret_cast<Instance*>(object);
    delete self->state;
    self->state = nullptr;
    G_OBJECT_CLASS(*parentClass)->finalize(object);
}

// Registers the element factory `factory` for `type` in this process and makes its debug
// category; false when GStreamer refuses.
bool RegisterElementFactory(const char* factory, GType type, GstDebugCategory** category, const char* description);

// The Register function of an element: registers it the first time it is called after
// gst_init() and answers the same ever after; false before gst_init().
template <GType (*type)()>
bool RegisterElementOnce(const char* factory, GstDebugCategory** category, const char* description) {
    if (!gst_is_initialized()) return false;
    static const bool registered = RegisterElementFactory(factory, type(), category, description);
    return registered;
}

// What every class init of ours sets first: the finalize, the metadata (author "Lumora")
// and the pad templates.
void DescribeElementClass(gpointer klass, GObjectFinalizeFunc finalize, const char* longName,
                          const char* classification, const char* description,
                          std::initializer_list<GstStaticPadTemplate*> pads);

}  // namespace lumora

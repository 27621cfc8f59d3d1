// Session: the live picture's machinery that both front ends run on — the frame store,
// the recorded-bytes counter, the virtual camera link, the frame event handler, the capture
// device list, the effect chain and the source graph, made in this order and wired as one:
//
//   start-up   EnumerateDevices   the capture devices
//              (the virtual camera: ConnectVirtualCamera over Devices() and Link() in the
//              windowed program, Link().OpenListed(Devices()) for lumora-cli's vcam output)
//              Initialize         the source graph with its preview and event targets (this
//                                 also lists the compressors), the frame store pointed at
//                                 the effect chain, the effects loaded, the device list
//                                 handed to the picture-in-picture effect
//   shutdown   Shutdown           the graph torn down before anything it uses (the source
//                                 parameters kept), the effects unloaded (their settings
//                                 saved), the virtual camera closed
//
// A front end steps in between as it needs (menus, its own messages, options). Frames: the
// grabber posts MSG_FRAME_READY to the event target, which sends them on (through
// Frames().SendFrameToVirtualCamera() or its own output); without an event target the
// frame event handler takes them straight to the virtual camera. MSG_GRAPH_EVENT goes to
// the event target only.
//
// Thread: user-interface thread, with a Qt application object and gst_init(). Streaming
// threads reach the store, the counter and the effects through the graph only.
// Lifetime: the event target, the preview target and the options host are borrowed and
// must outlive the session's last Shutdown (the destructor calls it). Everything else is
// owned; members are destroyed in the reverse order of the list above, so the graph goes
// before what it uses.
#pragma once

#include "effects/all_builtin_effects.h"
#include "effects/builtin_effects.h"
#include "effects/effect_chain.h"
#include "frames/frame_store.h"
#include "frames/recorded_bytes_counter.h"
#include "platform/program_paths.h"
#include "session/device_camera_catalogue.h"
#include "video/capture_device_list.h"
#include "video/frame_event_handler.h"
#include "video/preview_target.h"
#include "video/source_graph.h"
#include "video/virtual_camera_link.h"

#include <string>

class QObject;

namespace lumora {

class PipOptionsHost;

class Session {
public:
    struct Setup {
        std::string programFolder = ProgramFolder();              // with its "/": the plug-ins, images/
        BuiltinEffectFactory builtins = CreateAllBuiltinEffects;  // makes effects 1 to 4
        QObject* eventTarget = nullptr;  // MSG_FRAME_READY and MSG_GRAPH_EVENT; null: see above
        PreviewTarget* preview = nullptr;
        PipOptionsHost* pipOptions = nullptr;  // the picture-in-picture options dialog; null: none
    };

    explicit Session(Setup setup);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Refills the device list; false (the list as it was) when nothing is found.
    bool EnumerateDevices();
    // Wires and loads everything behind the list (see above). Once, before any source.
    void Initialize();
    // Stops everything that runs and closes the virtual camera; afterwards the session is
    // only destroyed. Harmless twice, and before Initialize.
    void Shutdown();

    FrameStore& Store() { return store_; }
    RecordedBytesCounter& Counter() { return counter_; }
    VirtualCameraLink& Link() { return link_; }
    FrameEventHandler& Frames() { return frames_; }
    CaptureDeviceList& Devices() { return devices_; }
    EffectChain& Effects() { return effects_; }
    SourceGraph& Graph() { return graph_; }

private:
    Setup setup_;
    FrameStore store_;
    RecordedBytesCounter counter_;
    VirtualCameraLink link_;
    FrameEventHandler frames_{store_, link_};
    CaptureDeviceList devices_;
    DeviceCameraCatalogue cameras_{devices_};
    EffectChain effects_;
    SourceGraph graph_{store_, counter_};
    bool initialized_ = false;
};

}  // namespace lumora

// The GObject type "vxcamerasrc": a GstBin whose instances carry a CCameraSource.
#include <gst/gst.h>

#include "engine/CCameraSource.h"

namespace {

struct VxCameraSrc {
  GstBin parent;
  vx::CCameraSource* impl;
};

struct VxCameraSrcClass {
  GstBinClass parent_class;
};

GType vx_camera_src_get_type();
G_DEFINE_TYPE(VxCameraSrc, vx_camera_src, GST_TYPE_BIN)

VxCameraSrc* AsCameraSrc(gpointer object) {
  return G_TYPE_CHECK_INSTANCE_TYPE(object, vx_camera_src_get_type()) ? static_cast<VxCameraSrc*>(object)
                                                                        : nullptr;
}

void vx_camera_src_init(VxCameraSrc* self) { self->impl = new vx::CCameraSource(GST_BIN(self)); }

void vx_camera_src_finalize(GObject* object) {
  delete AsCameraSrc(object)->impl;
  G_OBJECT_CLASS(vx_camera_src_parent_class)->finalize(object);
}

// Errors of a demuxer while the streams are being announced end Load. Errors of the partner's branch
// are logged and kept in the bin (the front plays on); every other message goes up.
void vx_camera_src_handle_message(GstBin* bin, GstMessage* message) {
  if (GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR) {
    GError* error = nullptr;
    gst_message_parse_error(message, &error, nullptr);
    const std::string text = error ? error->message : "error";
    const bool goesUp = AsCameraSrc(bin)->impl->OnChildError(GST_MESSAGE_SRC(message), text);
    g_clear_error(&error);
    if (!goesUp) {
      gst_message_unref(message);
      return;
    }
  }
  GST_BIN_CLASS(vx_camera_src_parent_class)->handle_message(bin, message);
}

void vx_camera_src_class_init(VxCameraSrcClass* klass) {
  G_OBJECT_CLASS(klass)->finalize = vx_camera_src_finalize;
  GST_BIN_CLASS(klass)->handle_message = vx_camera_src_handle_message;
  gst_element_class_set_static_metadata(GST_ELEMENT_CLASS(klass), "VX-880QN camera source", "Source/Demuxer",
                                        "Opens a VX-880QN recording and exposes its video and sound streams",
                                        "VX-880QN viewer");
}

}  // namespace

namespace vx {

bool RegisterCameraSource() {
  return gst_element_register(nullptr, kCameraSourceFactory, GST_RANK_NONE, vx_camera_src_get_type());
}

CCameraSource* CCameraSource::From(GstElement* element) {
  VxCameraSrc* self = element ? AsCameraSrc(element) : nullptr;
  return self ? self->impl : nullptr;
}

}  // namespace vx

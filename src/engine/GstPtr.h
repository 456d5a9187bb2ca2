// Owning holders for GStreamer references: each type is released by its own unref function.
#pragma once

#include <gst/gst.h>

#include <memory>

namespace vx {

// How each kind of reference is given back; GStreamer objects by default.
template <typename T>
constexpr auto kUnref = [](T* p) { gst_object_unref(p); };
template <>
constexpr auto kUnref<GstCaps> = &gst_caps_unref;
template <>
constexpr auto kUnref<GstSample> = &gst_sample_unref;
template <>
constexpr auto kUnref<GstBuffer> = &gst_buffer_unref;
template <>
constexpr auto kUnref<GstMessage> = &gst_message_unref;
template <>
constexpr auto kUnref<GstEvent> = &gst_event_unref;
template <>
constexpr auto kUnref<GstIterator> = &gst_iterator_free;
template <>
constexpr auto kUnref<GError> = &g_error_free;
template <>
constexpr auto kUnref<gchar> = &g_free;

template <typename T>
struct GstUnref {
  void operator()(T* p) const { kUnref<T>(p); }
};

template <typename T>
using GstPtr = std::unique_ptr<T, GstUnref<T>>;

// Takes over a reference the caller already owns (a "transfer full" return value).
template <typename T>
GstPtr<T> Adopt(T* p) {
  return GstPtr<T>(p);
}

// Takes a new reference of its own; a floating reference (fresh element) is sunk.
template <typename T>
GstPtr<T> Retain(T* p) {
  return GstPtr<T>(p ? static_cast<T*>(gst_object_ref_sink(p)) : nullptr);
}

}  // namespace vx

// An engine with two offscreen views attached, and small helpers shared by the engine tests.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <algorithm>
#include <string>

#include "TestMedia.h"
#include "engine/CNrvVideoView.h"
#include "engine/CPlaybackEngine.h"

namespace vx::test {

class EngineTest : public ::testing::Test {
 protected:
  EngineTest() {
    m_front.resize(640, 360);
    m_rear.resize(320, 180);
    m_engine.AttachWindows(&m_front, &m_rear);
  }

  CRecordingGraph& Recording() { return *m_engine.Recording(); }
  GstPtr<GstElement> Named(const char* name) {
    return Adopt(gst_bin_get_by_name(GST_BIN(Recording().Pipeline()), name));
  }
  RefTime Position() { return Answer(&CRecordingGraph::GetPosition); }
  RefTime Duration() { return Answer(&CRecordingGraph::GetDuration); }
  RefTime Answer(HRESULT (CRecordingGraph::*query)(RefTime&)) {
    RefTime t = -1;
    EXPECT_EQ((Recording().*query)(t), S_OK);
    return t;
  }
  // Time is the pipeline's running time, read from its own clock: the position is judged against the time
  // the pipeline itself keeps, whatever else the machine is doing.
  GstClockTime RunningTime() {
    GstPtr<GstClock> clock = Adopt(gst_element_get_clock(Recording().Pipeline()));
    return clock ? gst_clock_get_time(clock.get()) - gst_element_get_base_time(Recording().Pipeline()) : 0;
  }
  // Sleeps on the pipeline's clock for `span` nanoseconds of running time.
  void WaitOnPipelineClock(GstClockTime span) {
    GstPtr<GstClock> clock = Adopt(gst_element_get_clock(Recording().Pipeline()));
    ASSERT_TRUE(clock);
    std::unique_ptr<void, decltype(&gst_clock_id_unref)> id(
        gst_clock_new_single_shot_id(clock.get(), gst_clock_get_time(clock.get()) + span), &gst_clock_id_unref);
    gst_clock_id_wait(id.get(), nullptr);
  }
  // How far the position moves per unit of running time over `span` nanoseconds of it.
  double Speed(GstClockTime span) {
    const GstClockTime startTime = RunningTime();
    const RefTime before = Position();
    WaitOnPipelineClock(span);
    const auto moved = static_cast<double>(RefTimeToNs(Position() - before));
    return moved / static_cast<double>(RunningTime() - startTime);
  }
  // Polls until the recording reports its end, remembering the highest position seen; false when more
  // than 4 s of running time pass first.
  bool PlayToEnd(RefTime* highest = nullptr) {
    const GstClockTime startTime = RunningTime();
    for (;;) {
      const RefTime position = Position();
      if (highest) *highest = std::max(*highest, position);
      if (IsAtEnd(position, Duration())) return true;
      if (RunningTime() - startTime > 4 * GST_SECOND) return false;
      WaitOnPipelineClock(20 * GST_MSECOND);
    }
  }

  CNrvVideoView m_front;
  CNrvVideoView m_rear;
  CPlaybackEngine m_engine;
};

}  // namespace vx::test

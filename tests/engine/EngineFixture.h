// An engine with two offscreen views attached, and small helpers shared by the engine tests.
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <string>
#include <vector>

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
  RefTime Position() {
    RefTime t = -1;
    EXPECT_EQ(Recording().GetPosition(t), S_OK);
    return t;
  }
  RefTime Duration() {
    RefTime t = -1;
    EXPECT_EQ(Recording().GetDuration(t), S_OK);
    return t;
  }
  // The names of the pipeline's elements in the order they were added.
  std::vector<std::string> ElementNames() {
    std::vector<std::string> names;
    for (GList* child = GST_BIN_CHILDREN(GST_BIN(Recording().Pipeline())); child; child = child->next)
      names.insert(names.begin(), GST_ELEMENT_NAME(child->data));
    return names;
  }

  CNrvVideoView m_front;
  CNrvVideoView m_rear;
  CPlaybackEngine m_engine;
};

}  // namespace vx::test

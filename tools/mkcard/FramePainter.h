// Paints the front and rear camera pictures of a simulated drive, with the camera's burnt-in clock.
#pragma once

#include <QImage>
#include <vector>

#include "DriveSimulator.h"
#include "RecordingRecipe.h"

namespace vx::mkcard {

enum class Camera { Front, Rear };

class FramePainter {
 public:
  FramePainter(Camera camera, FrameSize size, const Drive& drive, const LocalTime& start);
  // The picture at frame `index` (30 per second), BGRx.
  const QImage& Paint(int index);

 private:
  void PaintSky(QPainter& p, bool night);
  void PaintRoad(QPainter& p, double distance, double bend, bool night);
  void PaintOverlay(QPainter& p, int index, const MotionSample& motion);

  Camera m_camera;
  QImage m_image;
  const Drive& m_drive;
  LocalTime m_start;
  std::vector<double> m_distance;  // metres driven at each 100 ms tick
};

}  // namespace vx::mkcard

// Perspective road, roadside posts and a sky that follows the time of day; text as the camera burns it in.
#include "FramePainter.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>

namespace vx::mkcard {
namespace {

constexpr double kCameraHeight = 1.3;   // metres above the road
constexpr double kDashPeriod = 9.0;     // metres from one centre dash to the next
constexpr double kDashLength = 4.0;
constexpr double kPostPeriod = 20.0;
constexpr double kNearest = 2.5;        // the closest road visible under the bonnet
constexpr double kFarthest = 400.0;

struct Projection {
  double cx, horizon, focal, bend;
  // Screen point of a road point `lateral` metres right of the camera, `ahead` metres away.
  QPointF At(double lateral, double ahead, double height = 0.0) const {
    const double x = lateral + bend * ahead * ahead;
    return {cx + focal * x / ahead, horizon + focal * (kCameraHeight - height) / ahead};
  }
};

QPolygonF Strip(const Projection& pr, double left, double right, double from, double to) {
  QPolygonF poly;
  for (double z = from; z <= to; z *= 1.15) poly << pr.At(left, z);
  for (double z = to; z >= from; z /= 1.15) poly << pr.At(right, z);
  return poly;
}

}  // namespace

FramePainter::FramePainter(Camera camera, FrameSize size, const Drive& drive, const LocalTime& start)
    : m_camera(camera), m_image(size.width, size.height, QImage::Format_RGB32), m_drive(drive), m_start(start) {
  double metres = 0.0;
  for (const MotionSample& m : drive.motion) {
    m_distance.push_back(metres);
    metres += m.speedKmh / 3.6 * 0.1;
  }
}

const QImage& FramePainter::Paint(int index) {
  const std::size_t tick = std::min<std::size_t>(static_cast<std::size_t>(index / 3), m_drive.motion.size() - 1);
  const MotionSample& motion = m_drive.motion[tick];
  const double distance = m_distance[tick] + motion.speedKmh / 3.6 * (index % 3) / 30.0;
  const bool night = m_start.hour >= 18 || m_start.hour < 6;
  QPainter p(&m_image);
  p.setRenderHint(QPainter::Antialiasing);
  // The picture shakes with an impact, as a windscreen mount does.
  p.translate(0, 14.0 * motion.shock * std::sin(index * 2.1));
  PaintSky(p, night);
  const double bend = (m_camera == Camera::Front ? 1 : -1) * motion.turnRate * 1.2e-5;
  PaintRoad(p, m_camera == Camera::Front ? distance : -distance, bend, night);
  p.resetTransform();
  PaintOverlay(p, index, motion);
  return m_image;
}

void FramePainter::PaintSky(QPainter& p, bool night) {
  const double w = m_image.width(), h = m_image.height();
  QLinearGradient sky(0, 0, 0, h * 0.45);
  sky.setColorAt(0, night ? QColor(8, 10, 28) : QColor(96, 146, 214));
  sky.setColorAt(1, night ? QColor(30, 32, 52) : QColor(206, 222, 236));
  p.fillRect(QRectF(0, -20, w, h * 0.45 + 20), sky);
  p.fillRect(QRectF(0, h * 0.45, w, h * 0.55 + 20), night ? QColor(18, 22, 16) : QColor(92, 118, 72));
  // Distant hills on the horizon.
  QPainterPath hills;
  hills.moveTo(0, h * 0.45);
  for (int i = 0; i <= 8; ++i) hills.lineTo(w * i / 8.0, h * (0.45 - 0.04 - 0.03 * std::sin(i * 1.7)));
  hills.lineTo(w, h * 0.45);
  p.fillPath(hills, night ? QColor(14, 16, 26) : QColor(88, 110, 120));
}

void FramePainter::PaintRoad(QPainter& p, double distance, double bend, bool night) {
  const double w = m_image.width(), h = m_image.height();
  const Projection pr{w / 2, h * 0.45, w * 0.8, bend};
  p.setPen(Qt::NoPen);
  p.setBrush(night ? QColor(34, 34, 38) : QColor(88, 88, 92));
  p.drawPolygon(Strip(pr, -5.6, 2.2, kNearest, kFarthest));
  p.setBrush(night ? QColor(150, 150, 130) : QColor(236, 236, 236));
  p.drawPolygon(Strip(pr, 1.95, 2.1, kNearest, kFarthest));
  p.drawPolygon(Strip(pr, -5.5, -5.35, kNearest, kFarthest));
  const double phase = std::fmod(std::fmod(distance, kDashPeriod) + kDashPeriod, kDashPeriod);
  p.setBrush(night ? QColor(170, 150, 60) : QColor(250, 210, 60));
  for (double z = kDashPeriod - phase; z < 160.0; z += kDashPeriod) {
    if (z + kDashLength > kNearest) p.drawPolygon(Strip(pr, -1.85, -1.65, std::max(z, kNearest), z + kDashLength));
  }
  const double postPhase = std::fmod(std::fmod(distance, kPostPeriod) + kPostPeriod, kPostPeriod);
  p.setBrush(night ? QColor(60, 60, 60) : QColor(60, 70, 60));
  for (double z = kPostPeriod - postPhase; z < 200.0; z += kPostPeriod) {
    if (z < kNearest) continue;
    const QPointF foot = pr.At(3.6, z), top = pr.At(3.6, z, 3.2);
    const double width = std::max(1.5, w * 0.8 * 0.15 / z);
    p.drawRect(QRectF(foot.x() - width / 2, top.y(), width, foot.y() - top.y()));
  }
}

void FramePainter::PaintOverlay(QPainter& p, int index, const MotionSample& motion) {
  const int h = m_image.height(), w = m_image.width();
  const LocalTime now = ShiftSeconds(m_start, index / kFramesPerSecond);
  char clock[64];
  std::snprintf(clock, sizeof clock, "%04d/%02d/%02d %02d:%02d:%02d", now.year, now.month, now.day, now.hour,
                now.minute, now.second);
  char speed[32];
  std::snprintf(speed, sizeof speed, "%d km/h", static_cast<int>(std::lround(motion.speedKmh)));
  QFont font("DejaVu Sans Mono");
  // The rear picture is small and usually shown smaller still: its text is larger in proportion.
  font.setPixelSize(m_camera == Camera::Front ? h / 26 : h / 16);
  font.setBold(true);
  p.setFont(font);
  if (m_camera == Camera::Rear) {  // the rear window's frame around the picture
    p.setPen(QPen(QColor(20, 20, 20), h / 18.0));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0, 0, w, h), h / 8.0, h / 8.0);
  }
  const int margin = m_camera == Camera::Front ? h / 40 : h / 12;
  const QString name = m_camera == Camera::Front ? "VX-880QN  FRONT" : "VX-880QN  REAR";
  auto shadowed = [&](const QRect& box, int flags, const QString& text) {
    p.setPen(QColor(0, 0, 0));
    p.drawText(box.translated(2, 2), flags, text);
    p.setPen(QColor(255, 255, 255));
    p.drawText(box, flags, text);
  };
  const QRect box(margin, margin, w - 2 * margin, h - 2 * margin);
  shadowed(box, Qt::AlignLeft | Qt::AlignTop, name);
  shadowed(box, Qt::AlignLeft | Qt::AlignBottom, clock);
  shadowed(box, Qt::AlignRight | Qt::AlignBottom, speed);
}

}  // namespace vx::mkcard

// The one object the map page reaches through the web channel: a seek to a media time, checked against the
// recording's duration before anything else sees it.
#pragma once

#include <QObject>
#include <QVariant>

namespace vx {

class CMapBridge : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;

  // Seeks from the page are allowed from 0 to this duration; 0 (nothing open) refuses every seek.
  void SetDurationMs(qint64 durationMs) { m_nDurationMs = durationMs; }

  // Called by the page with the media time of a fix in milliseconds. Anything but a number within the
  // recording is dropped.
  Q_INVOKABLE void seek(const QVariant& ms);

 signals:
  void seekRequested(qint64 ms);

 private:
  qint64 m_nDurationMs = 0;
};

}  // namespace vx

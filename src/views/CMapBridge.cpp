// Checking the page's seek call.
#include "views/CMapBridge.h"

#include "core/views/MapPosition.h"

namespace vx {

void CMapBridge::seek(const QVariant& ms) {
  // The channel hands JSON numbers over as doubles or integers; a string or anything else is not a time.
  const int type = ms.typeId();
  if (type != QMetaType::Double && type != QMetaType::LongLong && type != QMetaType::Int) return;
  if (const auto target = PageSeekTarget(ms.toDouble(), m_nDurationMs)) emit seekRequested(*target);
}

}  // namespace vx

// Colours and fonts of the dark skin, shared by every drawing of the skin painter.
#pragma once

#include <QColor>
#include <QFont>

#include <cstdint>

namespace vx::skin {

// No colour of the skin's opaque parts may fall into a key's transparent range: the darkest colours keep
// one channel above 16 so that black-keyed buttons have no holes.
inline const QColor kBodyTop(62, 67, 76);
inline const QColor kBodyBottom(36, 39, 45);
inline const QColor kBorder(98, 105, 116);
inline const QColor kText(228, 231, 236);
inline const QColor kAccent(255, 114, 0);
inline const QColor kAccentLight(255, 170, 80);
inline const QColor kHotTop(84, 62, 40);
inline const QColor kHotBottom(46, 34, 26);
inline const QColor kPanel(40, 43, 49);
inline const QColor kPanelEdge(62, 66, 74);
inline const QColor kWindowTop(33, 36, 41);
inline const QColor kWindowBottom(24, 26, 30);
inline const QColor kViewWell(18, 19, 24);
inline const QColor kDanger(200, 48, 40);

// The key colour value 0x00BBGGRR as a colour.
inline QColor KeyColour(std::uint32_t key) {
  return QColor(static_cast<int>(key & 0xFF), static_cast<int>((key >> 8) & 0xFF), static_cast<int>((key >> 16) & 0xFF));
}

// The one typeface of the skin's texts (Debian package fonts-dejavu-core).
inline QString LabelFontFamily() { return QStringLiteral("DejaVu Sans"); }

inline QFont LabelFont(int pixelSize, bool bold = true) {
  QFont font(LabelFontFamily());
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

}  // namespace vx::skin

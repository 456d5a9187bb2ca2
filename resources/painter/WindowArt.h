// Backgrounds and frame pieces of the main window in its normal and full-screen skins, and the window icon.
#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

namespace vx::skin {

QImage PaintNormalBackground();                    // 1020 x 594
QImage PaintFullBackground(const QSize& screen);   // the whole screen
QImage PaintFullTopBar(int width);                 // width x 21
QImage PaintFullMiddle(const QSize& size);         // behind the video
// The full-screen bars are laid across screens of any width: each of their rows is one colour.
QImage PaintFullBottomBar(int width);              // width x 120
QImage PaintFullDivider(int width);                // width x 11, a strip of the bottom bar 74 rows down
QImage PaintFullSpeedPlate(const QRect& well);     // 112 x 25, behind the speed label, its well within well
QImage PaintSpareStatic();                         // small tile of static 1026
QImage PaintWindowIcon(int side);

}  // namespace vx::skin

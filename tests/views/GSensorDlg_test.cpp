// Tests of the acceleration graph window: the traces and the marker drawn where the plot's arithmetic puts
// them, the close box and the graph button, and dragging.
#include <QTest>

#include <algorithm>
#include <ranges>

#include <gtest/gtest.h>

#include "core/views/PlotGeometry.h"
#include "views/CGSensorDlg.h"
#include "widgets/SkinBitmaps.h"
#include "widgets/SkinIds.h"

namespace vx {
namespace {

constexpr QRgb kGreen = 0xFF00FE00;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;
constexpr QRgb kMarker = 0xFFFF8A48;

class GSensorDlgTest : public ::testing::Test {
 protected:
  QImage Render(std::uint32_t positionMs) {
    CGSensorDlg dialog(m_data, nullptr);
    dialog.UpdateGraphPosition(positionMs);
    return dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  static QRgb Plot(const QImage& image, int x, int y) { return image.pixel(kPlotLeft + x, kPlotTop + y); }
  // Columns of the plot where the colour appears.
  static std::vector<int> ColumnsWith(const QImage& image, QRgb colour) {
    std::vector<int> columns;
    for (int x = 0; x < kPlotWidth; ++x) {
      const auto hasColour = [&](int y) { return Plot(image, x, y) == colour; };
      if (std::ranges::any_of(std::views::iota(0, kPlotHeight), hasColour)) columns.push_back(x);
    }
    return columns;
  }

  TelemetryTrack m_data;
};

// No samples and no marker leave the plot's picture; the marker lies over the traces, inside the plot. The
// traces over the full range (4 g to the VX-880QN's lowest, -3.96875 g) start at the centre, z on top.
TEST_F(GSensorDlgTest, TracesAndMarkerAreDrawnInTheirColoursInsideThePlot) {
  const QImage bare = Render(0);
  const QImage plot = LoadSkinImage(IDB_GRAPH_PLOT).convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(bare.copy(kPlotLeft, kPlotTop, kPlotWidth, kPlotHeight), plot);
  const QImage background = LoadSkinImage(IDB_GRAPH_BACKGROUND).convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(bare.copy(0, 0, 40, 225), background.copy(0, 0, 40, 225)) << "the window's background around it";
  EXPECT_EQ(ColumnsWith(Render(30000), kMarker), std::vector<int>{230}) << "a marker without samples";

  m_data.accel = {{1000, 0.0, 0.0, 0.0}};
  EXPECT_EQ(Plot(Render(59999), 459, 80), kMarker);
  const QImage past = Render(60131);
  EXPECT_TRUE(ColumnsWith(past, kMarker).empty());
  for (int y = 0; y < 225; ++y) ASSERT_NE(past.pixel(kPlotLeft + 461, y), kMarker) << "nothing past the plot";

  m_data.accel = {{30000, 4.0, -3.96875, 0.0}, {60000, 4.0, -3.96875, 0.0}};
  const QImage image = Render(0);
  EXPECT_EQ((std::vector{Plot(image, 230, 0), Plot(image, 460, 0), Plot(image, 230, 159), Plot(image, 460, 159),
                         Plot(image, 460, 80), Plot(image, 0, 80)}),
            (std::vector{kGreen, kGreen, kRed, kRed, kBlue, kBlue}));
}

// The graph button and the close box keep one account of whether the window is hidden; it opens centred
// over its owner and is dragged by its client area.
TEST(GSensorDlg, CloseBoxHidesOnePressShowsAgainAndTheClientAreaDrags) {
  const TelemetryTrack data;
  QWidget owner;
  owner.setGeometry(100, 100, 1020, 594);
  CGSensorDlg dialog(data, &owner);
  EXPECT_EQ(dialog.geometry().center(), owner.geometry().center());
  bool hidden = true;
  QObject::connect(&dialog, &CGSensorDlg::closedByUser, [&] { hidden = true; });
  hidden = dialog.ApplyGraphButton(hidden);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  const QPoint before = dialog.pos();
  QTest::mousePress(&dialog, Qt::LeftButton, {}, QPoint(100, 100));
  QTest::mouseMove(&dialog, QPoint(130, 140));
  QTest::mouseRelease(&dialog, Qt::LeftButton, {}, QPoint(130, 140));
  EXPECT_EQ(dialog.pos(), before + QPoint(30, 40));

  dialog.close();
  EXPECT_TRUE(hidden) << "the close box says hidden, as the button would";
  hidden = dialog.ApplyGraphButton(hidden);
  EXPECT_TRUE(dialog.isVisible()) << "one press shows the window again";
  hidden = dialog.ApplyGraphButton(hidden);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(hidden);
}

}  // namespace
}  // namespace vx

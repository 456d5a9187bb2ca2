// Tests of the acceleration graph window: the traces and the marker drawn where the plot's arithmetic puts
// them, the close box and the graph button, dragging, and a click on the whole graph asking for its moment.
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <ranges>

#include <gtest/gtest.h>

#include "core/views/PlotGeometry.h"
#include "views/CGSensorDlg.h"
#include "views/CWholeGraphView.h"
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

// The whole graph lines up with the plot above it: its first column is the span's start, its last the span's
// end, and the span follows the position given to the window.
TEST(GSensorDlg, AClickOnTheWholeGraphAsksForTheMomentOfItsColumn) {
  struct Case {
    std::uint32_t durationMs, positionMs;
    int column;
    qint64 seekMs;
  };
  const Case cases[] = {
      {10'000, 5'000, 0, 0},             // short: the whole recording across
      {10'000, 5'000, 460, 10'000},
      {600'000, 300'000, 0, 240'000},    // long: two minutes around the position
      {600'000, 300'000, 230, 300'000},
      {600'000, 590'000, 460, 600'000},  // held at the end
  };
  TelemetryTrack data;
  CGSensorDlg dialog(data, nullptr);
  auto* wholeGraph = dialog.findChild<CWholeGraphView*>();
  ASSERT_NE(wholeGraph, nullptr);
  QSignalSpy seeks(&dialog, &CGSensorDlg::seekRequested);
  for (const Case& c : cases) {
    data.accel.clear();
    for (std::uint32_t ms = 0; ms <= c.durationMs; ms += 100) data.accel.push_back({ms, 0.0, 0.0, 1.0});
    dialog.SetRecording(c.durationMs, {});
    dialog.UpdateGraphPosition(c.positionMs);
    QTest::mouseClick(wholeGraph, Qt::LeftButton, {}, QPoint(kPlotLeft + c.column, 60));
    ASSERT_EQ(seeks.size(), 1) << c.durationMs << " at " << c.positionMs;
    EXPECT_EQ(seeks.takeFirst().at(0).toLongLong(), c.seekMs) << c.durationMs << " column " << c.column;
  }
}

}  // namespace
}  // namespace vx

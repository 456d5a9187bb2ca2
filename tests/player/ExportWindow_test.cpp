// The span marked with I and O while a recording plays, shown on the position slider, and its export through
// the export dialog: the written file read back with GStreamer, and a cancelled export that leaves nothing.
#include <QTest>

#include <filesystem>

#include "MainWindowFixture.h"
#include "ReadBack.h"
#include "ToolRunner.h"
#include "core/player/ControlIds.h"
#include "core/widgets/ScrollCodes.h"
#include "player/CExportDlg.h"
#include "widgets/CTkSlider.h"

namespace vx::test {
namespace {

namespace fs = std::filesystem;
constexpr double kFrameS = 1.0 / 30.0;  // the card maker's frame rate

class ExportWindowTest : public MainWindowTest {
 protected:
  // Plays an 8 s two-stream recording with sound and marks I after 1 s of it and O at least 1.5 s later.
  void MarkWhilePlaying() {
    const std::string recording = m_dir / "20261206_090000_D01.MP4";
    const ToolOutput made = RunTool(Tool("vx880-mkcard") + " --file " + Quote(recording) + " --streams 2 --seconds 8");
    ASSERT_EQ(made.status, 0) << made.out;
    AddRows({QString::fromStdString(recording)});
    Click(IDC_PLAY);
    ASSERT_TRUE(WaitUntil([&] { return State() == EngineState::Running && Window().PlayingPositionMs() >= 1000; }));
    Type(Qt::Key_I);
    const std::int64_t in = Window().PlayingPositionMs();
    ASSERT_TRUE(WaitUntil([&] { return Window().PlayingPositionMs() >= in + 1500; }));
    Type(Qt::Key_O);
    Click(IDC_PLAY);  // paused, so that the thumb stays where it is
    ASSERT_EQ(State(), EngineState::Paused);
  }

  // Opens the dialog from the list's menu command and starts the export to `out` without sound.
  CExportDlg& StartExport(const fs::path& out, RearLayout rear) {
    EXPECT_TRUE(Window().OnCommand(ID_EXPORT));
    CExportDlg* dialog = Window().ExportWindow();
    EXPECT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->SoundChoice().isChecked()) << "sound is left out unless asked for";
    dialog->PathEdit().setText(QString::fromStdString(out.string()));
    dialog->RearChoice().setCurrentIndex(dialog->RearChoice().findData(static_cast<int>(rear)));
    dialog->StartExport();
    return *dialog;
  }

  TempDir m_dir{"export-window"};
};

// Runs of the marks' full magenta in the slider's top row: each marked point is a bar across the whole height
// (the band between them is blended with the channel).
int SpanBars(CTkSlider& slider) {
  const QImage image = slider.grab().toImage();
  int runs = 0;
  bool inRun = false;
  for (int x = 0; x < image.width(); ++x) {
    const QColor c = image.pixelColor(x, 0);
    const bool magenta = c.red() > 230 && c.green() < 110 && c.blue() > 190;
    runs += magenta && !inRun;
    inRun = magenta;
  }
  return runs;
}

TEST_F(ExportWindowTest, AMarkedSpanShowsOnTheSliderAndExportsToItsLength) {
  MarkWhilePlaying();
  CTkSlider& slider = Slider(IDC_POSITION_SLIDER);
  const MarkedSpan& span = Window().Span();
  ASSERT_TRUE(span.inMs && span.outMs);
  EXPECT_EQ(slider.SpanIn(), span.inMs);
  EXPECT_EQ(slider.SpanOut(), span.outMs);
  // The thumb, drawn over the marks, goes back to the start so that both bars show.
  emit slider.HScroll(TB_THUMBPOSITION, 0);
  ASSERT_TRUE(WaitUntil([&] { return slider.GetPos() < 200; }));
  EXPECT_EQ(SpanBars(slider), 2);

  const fs::path out = m_dir / "clip.mp4";
  CExportDlg& dialog = StartExport(out, RearLayout::PictureInPicture);
  ASSERT_TRUE(WaitUntil([&] { return dialog.Report().has_value(); }, 120'000));
  ASSERT_TRUE(dialog.Report()->ok) << dialog.Report()->error;
  EXPECT_TRUE(dialog.ResultText().contains(QString::fromStdString(out.string()))) << dialog.ResultText().toStdString();
  EXPECT_TRUE(dialog.ResultText().contains("sound left out")) << dialog.ResultText().toStdString();
  EXPECT_TRUE(dialog.ResultText().contains("Span: as marked")) << dialog.ResultText().toStdString();
  const ReadBack read = Discover(out.string());
  EXPECT_NEAR(read.seconds, static_cast<double>(*span.outMs - *span.inMs) / 1000.0, kFrameS);
  EXPECT_EQ(read.videoStreams, 1);
  EXPECT_EQ(read.audioStreams, 0);

  dialog.reject();  // Close, now that it has finished
  Window().OnCommand(ID_CLEAR_SPAN);
  EXPECT_FALSE(slider.SpanIn() || slider.SpanOut());
  EXPECT_EQ(SpanBars(slider), 0);
}

TEST_F(ExportWindowTest, ACancelledExportLeavesNoFile) {
  MarkWhilePlaying();
  const fs::path out = m_dir / "cancelled.mp4";
  CExportDlg& dialog = StartExport(out, RearLayout::SideBySide);
  ASSERT_TRUE(dialog.IsRunning());
  dialog.reject();  // Cancel while it runs (its output file is open): the dialog stays to say so
  ASSERT_TRUE(WaitUntil([&] { return dialog.Report().has_value(); }));
  EXPECT_TRUE(dialog.Report()->cancelled);
  EXPECT_TRUE(dialog.isVisible());
  for (const fs::directory_entry& entry : fs::directory_iterator(m_dir.Path())) {
    EXPECT_EQ(entry.path().filename().string().rfind("cancelled", 0), std::string::npos) << entry.path();
  }
}

}  // namespace
}  // namespace vx::test

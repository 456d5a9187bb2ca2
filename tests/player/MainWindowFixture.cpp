// The real main window on the offscreen platform, with a fake drive list, and the recordings it plays.
#include "MainWindowFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QItemSelectionModel>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "TestMedia.h"
#include "core/player/ControlIds.h"
#include "engine/GstPtr.h"
#include "player/CRecordingCatalogue.h"
#include "widgets/CTkSlider.h"
#include "widgets/SkinBitmaps.h"

namespace vx::test {

QString PathOf(const CardRecording& recording) {
  return QString::fromStdString(CardFile(recording.name, recording.options));
}

QString JunkRecording(const std::string& name, std::size_t bytes) {
  const std::string path = MediaDir() + "/" + name;
  if (!std::filesystem::exists(path)) {
    const std::string temp = MediaDir() + "/tmp" + std::to_string(getpid()) + "-" + name;
    std::ofstream(temp, std::ios::binary) << std::string(bytes, '\x5a');
    std::filesystem::rename(temp, path);
  }
  return QString::fromStdString(path);
}

QString CardMountPoint() {
  return QString::fromStdString(std::filesystem::path(MediaDir()).parent_path().string() + "/");
}

namespace {

using SharedTime = std::shared_ptr<std::atomic<std::int64_t>>;

// The latest picture time (ms) handed to `renderer`, -1 before the first; kept beyond the renderer's life.
SharedTime WatchLastPicture(GstElement* renderer) {
  auto latest = std::make_shared<std::atomic<std::int64_t>>(-1);
  GstPtr<GstPad> pad = Adopt(gst_element_get_static_pad(renderer, "sink"));
  gst_pad_add_probe(
      pad.get(), GST_PAD_PROBE_TYPE_BUFFER,
      [](GstPad*, GstPadProbeInfo* info, gpointer data) {
        const GstClockTime pts = GST_BUFFER_PTS(GST_PAD_PROBE_INFO_BUFFER(info));
        std::atomic<std::int64_t>& time = **static_cast<SharedTime*>(data);
        if (GST_CLOCK_TIME_IS_VALID(pts)) time = std::max<std::int64_t>(time, pts / GST_MSECOND);
        return GST_PAD_PROBE_OK;
      },
      new SharedTime(latest), [](gpointer data) { delete static_cast<SharedTime*>(data); });
  return latest;
}

}  // namespace

void MainWindowTest::SetUp() {
  // The shared texts beside the programs are never changed: a language choice is kept nowhere.
  TextTableFiles texts{std::filesystem::path(VX_BIN_DIR) / "Setting.ini",
                       [](int) { return std::optional<std::filesystem::path>(); }};
  m_pWindow = std::make_unique<CQuelmarDlg>(m_drives, std::move(texts));
  m_pWindow->OnInitDialog([this](const QString& text) { m_messages << text; });
  m_pWindow->move(100, 80);
  m_pWindow->show();
  m_pWindow->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(m_pWindow.get()));
  ASSERT_TRUE(m_messages.isEmpty()) << m_messages.join('\n').toStdString();
}

void MainWindowTest::TearDown() { m_pWindow.reset(); }

void MainWindowTest::AddRows(const QStringList& paths) { Window().Catalogue().AddPaths(paths); }

bool MainWindowTest::WaitUntil(const std::function<bool()>& done, int limitMs) {
  return QTest::qWaitFor(done, limitMs);
}

bool MainWindowTest::Activate(QWidget& window) {
  window.show();
  window.activateWindow();
  return WaitUntil([&] { return QApplication::activeWindow() == &window; });
}

QStringList MainWindowTest::DismissModalOpenedBy(const std::function<void()>& action) {
  QStringList seen;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      seen << QString::fromLatin1(modal->metaObject()->className());
      modal->close();
    }
  });
  poll.start(10);
  action();
  return seen;
}

void MainWindowTest::Type(int key, Qt::KeyboardModifiers modifiers) {
  QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
  ASSERT_NE(target, nullptr) << "no window has the keyboard";
  QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
}

void MainWindowTest::Click(int id) {
  auto* button = qobject_cast<QAbstractButton*>(Window().Control(id));
  ASSERT_NE(button, nullptr) << "no button " << id;
  button->click();
}

void MainWindowTest::PlayPaused() {
  Click(IDC_PLAY);
  Click(IDC_PLAY);
  ASSERT_EQ(State(), EngineState::Paused);
}

CTkSlider& MainWindowTest::Slider(int id) const { return *static_cast<CTkSlider*>(m_pWindow->Control(id)); }

int MainWindowTest::PlayingRow() const { return m_pWindow->Catalogue().PlayingRow(); }

QString MainWindowTest::LoadedPath() const {
  const CRecordingGraph* recording = m_pWindow->Engine().Recording();
  return recording ? QString::fromStdString(recording->FilePath()) : QString();
}

EngineState MainWindowTest::State() const {
  const CRecordingGraph* recording = m_pWindow->Engine().Recording();
  return recording ? recording->State() : EngineState::Closed;
}

std::int64_t MainWindowTest::PositionMs() const {
  RefTime position = -1;
  EXPECT_EQ(m_pWindow->Engine().Recording()->GetPosition(position), S_OK);
  return RefTimeToMs(position);
}

std::int64_t MainWindowTest::DurationMs() const { return m_pWindow->Engine().GetDurationMs(); }

void MainWindowTest::DoubleClickRow(int row) { DoubleClickIndex(m_pWindow->Catalogue().List()->model()->index(row, 0)); }

void MainWindowTest::DoubleClickIndex(const QModelIndex& index) {
  QTreeView* list = m_pWindow->Catalogue().List();
  const QPoint centre = list->visualRect(index).center();
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, centre);
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, centre);
}

void MainWindowTest::SelectRows(const std::vector<int>& rows) {
  QTreeView* list = m_pWindow->Catalogue().List();
  list->selectionModel()->clearSelection();
  for (int row : rows)
    list->selectionModel()->select(list->model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

std::vector<int> MainWindowTest::SelectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : m_pWindow->Catalogue().List()->selectionModel()->selectedRows())
    rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

bool MainWindowTest::ShowsPicture(int buttonId, int bitmapId, std::uint32_t key) const {
  const QImage shown = m_pWindow->Control(buttonId)->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage picture = LoadSkinImage(bitmapId).convertToFormat(QImage::Format_RGB32);
  if (shown.size() != picture.size()) return false;
  const QRgb keyColour = qRgb(key & 0xFF, (key >> 8) & 0xFF, (key >> 16) & 0xFF);
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x)
      if (picture.pixel(x, y) != keyColour && shown.pixel(x, y) != picture.pixel(x, y)) return false;
  }
  return true;
}

void MainWindowTest::PostDecoderError() {
  GstElement* pipeline = Window().Engine().Recording()->Pipeline();
  GstPtr<GstElement> decoder = Adopt(gst_bin_get_by_name(GST_BIN(pipeline), "FFDShow Decoder1"));
  ASSERT_TRUE(decoder);
  GError* error = g_error_new_literal(GST_STREAM_ERROR, GST_STREAM_ERROR_DECODE, "injected decoding error");
  gst_element_post_message(decoder.get(), gst_message_new_error(GST_OBJECT(decoder.get()), error, "test"));
  g_error_free(error);
}

void MainWindowTest::ExpectIdle() {
  EXPECT_EQ(Window().Engine().Recording(), nullptr);
  EXPECT_EQ(PlayingRow(), -1);
  EXPECT_FALSE(Window().IsTimerActive());
  EXPECT_EQ(Text(IDC_PLAY), "Play");
  EXPECT_FALSE(Window().FrontView().isVisible());
  EXPECT_FALSE(Window().RearView().isVisible());
  EXPECT_EQ(Text(IDC_CURRENT_TIME), "00:00:00");
  EXPECT_EQ(Text(IDC_TOTAL_TIME), "00:00:00");
  EXPECT_EQ(Slider(IDC_POSITION_SLIDER).GetPos(), 0);
}

// The list repaints the playing row when a recording has been opened for it; each pipeline is taken once.
RowsStarted::RowsStarted(CQuelmarDlg& window) {
  QObject::connect(window.Catalogue().List()->model(), &QAbstractItemModel::dataChanged, &m_connections, [this, &window] {
    static const char* const kWatched = "vx880-test-watched";
    CRecordingGraph* recording = window.Engine().Recording();
    const int row = window.Catalogue().PlayingRow();
    if (!recording || !recording->Pipeline() || row < 0 || g_object_get_data(G_OBJECT(recording->Pipeline()), kWatched))
      return;
    g_object_set_data(G_OBJECT(recording->Pipeline()), kWatched, &window);
    m_starts.push_back({row, window.ControlText(IDC_TOTAL_TIME), window.Engine().GetDurationMs(),
                        WatchLastPicture(recording->Renderer(0)->Element())});
  });
}

std::vector<int> RowsStarted::Rows() const {
  std::vector<int> rows;
  for (const Start& start : m_starts) rows.push_back(start.row);
  return rows;
}

}  // namespace vx::test

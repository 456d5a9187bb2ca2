// The main window's two modes and where its views go: layout, full screen, arrangement, swap, rear video.
#include <QResizeEvent>
#include <QTreeView>

#include "core/player/ControlIds.h"
#include "core/player/SpeedSteps.h"
#include "player/CQuelmarDlg.h"
#include "player/QtRect.h"
#include "views/CMapView.h"
#include "widgets/CMyButton.h"
#include "widgets/SkinBitmaps.h"

namespace vx {

// Mode 1 is the fixed normal window, mode 2 full screen over the client area; any other value repaints.
void CQuelmarDlg::ApplyLayout(int mode) {
  if (mode == 1) {
    resize(kNormalWindowWidth, kNormalWindowHeight);
    PlaceControls(NormalLayout(m_bSoundOn, State() == EngineState::Running));
    UpdateMapButtons();
  } else if (mode == 2) {
    PlaceControls(FullScreenLayout(width(), height(), State() == EngineState::Running));
  }
  update();
}

void CQuelmarDlg::PlaceControls(const ModeLayout& layout) {
  m_bNormalBackground = layout.normalBackground;
  for (const SkinnedButtonPlace& place : layout.buttons) {
    auto* button = static_cast<CMyButton*>(m_controls.at(place.id));
    button->SetBitmaps(place.normalBitmap, place.hotBitmap, place.hotBitmap, place.key);
    button->setGeometry(ToQRect(place.rect));
  }
  for (const FramePiecePlace& piece : layout.framePieces) {
    auto* label = static_cast<QLabel*>(m_controls.at(piece.id));
    label->setPixmap(QPixmap::fromImage(LoadSkinImage(piece.bitmap)));
    label->setGeometry(ToQRect(piece.rect));
  }
  for (const ControlPlace& place : layout.places) m_controls.at(place.id)->setGeometry(ToQRect(place.rect));
  for (int id : layout.shown) m_controls.at(id)->show();
  for (int id : layout.hidden) m_controls.at(id)->hide();
  // The frame pictures lie under every other control, the lowest first.
  const std::span<const int> stack = FullScreenFrameStack();
  for (auto id = stack.rbegin(); id != stack.rend(); ++id) m_controls.at(*id)->lower();
  PlaceSpeedLabel();
}

void CQuelmarDlg::PlaceSpeedLabel() {
  const LayoutRect place = m_nWindowMode == 1 ? NormalSpeedLabelRect() : FullScreenSpeedLabelRect(width(), height());
  m_controls.at(IDC_SPEED_LABEL)->setGeometry(ToQRect(place));
}

// True full screen on the screen the window is on; back in the normal window at the same top-left corner.
void CQuelmarDlg::ToggleFullScreen() {
  if (m_nWindowMode == 1) {
    // Full screen has no map: a large map gives its slot back to the front view first.
    m_slots = SlotsForFullScreen(m_slots);
    m_normalTopLeft = pos();
    m_nWindowMode = 2;
    showFullScreen();
  } else {
    m_nWindowMode = 1;
    showNormal();
    move(m_normalTopLeft);
  }
  if (!IsLoaded() || State() == EngineState::Stopped || State() == EngineState::Closed) ResetTimeLabels();
  ApplyLayout(m_nWindowMode);
  ArrangeViews();
}

void CQuelmarDlg::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // Full screen follows the screen's size, whenever the window system settles it.
  if (m_nWindowMode == 2) {
    ApplyLayout(2);
    ArrangeViews();
  }
  // A paused or stopped picture is shown again at the view's new size.
  if (IsLoaded() && State() != EngineState::Running) m_engine.RefreshFrame();
}

void CQuelmarDlg::ArrangeViews() {
  const int streams = LoadedVideoStreams();
  const ViewArrangement arrangement =
      m_nWindowMode == 1 ? ArrangeNormalViews(m_slots, streams)
                         : ArrangeFullScreenViews(m_slots, streams, FullScreenViewRect(width(), height()));
  for (auto [view, place] : {std::pair{&m_frontView, arrangement.front}, {&m_rearView, arrangement.rear}}) {
    if (!place) {
      view->hide();
      continue;
    }
    view->setGeometry(ToQRect(*place));
    view->show();
  }
  if (m_pMapView) m_pMapView->setGeometry(ToQRect(arrangement.map));
  if (m_nWindowMode == 1) SetRearVideoButton(arrangement.rearVideoButton);
}

void CQuelmarDlg::SetRearVideoButton(RearVideoButton offer) {
  if (offer == RearVideoButton::Unchanged) return;
  static_cast<CMyButton*>(m_controls.at(IDC_REAR_VIDEO))
      ->SetBitmaps(RearVideoButtonNormalBitmap(offer), RearVideoButtonHotBitmap(offer),
                   RearVideoButtonHotBitmap(offer), RearVideoButtonKey(offer));
}

void CQuelmarDlg::SwapFrontRear() {
  const std::optional<ViewSlots> next = vx::SwapFrontRear(m_slots, LoadedVideoStreams());
  if (!next) return;
  m_slots = *next;
  ArrangeViews();
  if (IsLoaded()) m_engine.Recording()->UpdateVideoWindows();
}

void CQuelmarDlg::RearVideo() {
  const std::optional<ViewSlots> next = vx::RearVideo(m_slots, LoadedVideoStreams());
  if (!next) return;
  m_slots = *next;
  ArrangeViews();
}

}  // namespace vx

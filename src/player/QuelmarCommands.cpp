// The main window's command table (control and menu IDs to handlers) and its keyboard table.
#include <QApplication>
#include <QKeyEvent>

#include "core/player/ControlIds.h"
#include "player/CQuelmarDlg.h"
#include "player/CRecordingCatalogue.h"

namespace vx {

std::span<const CQuelmarDlg::CommandEntry> CQuelmarDlg::CommandTable() {
  using D = CQuelmarDlg;
  static constexpr CommandEntry kTable[] = {
      {IDC_MINIMIZE, &D::OnMinimize},
      {IDC_CLOSE, &D::OnClose},
      {IDC_PREV, &D::PlayPrevious},
      {ID_BACK, &D::PlayPrevious},
      {IDC_PLAY, &D::OnPlayCommand},
      {ID_PLAY, &D::OnPlayCommand},
      {IDC_STOP, &D::StopPlayback},
      {ID_STOP, &D::StopPlayback},
      {IDC_NEXT, &D::PlayNext},
      {ID_NEXT, &D::PlayNext},
      {IDC_BACK_1S, &D::BackOneSecond},
      {IDC_FORWARD_1S, &D::ForwardOneSecond},
      {IDC_OPEN, &D::ChooseFolder},
      {ID_SELECT_DRIVE, &D::ChooseFolder},
      {ID_OPEN, &D::OpenFiles},
      {ID_SORT_ASC, &D::SortAscending},
      {ID_SORT_DESC, &D::SortDescending},
      {ID_DELETE, &D::RemoveSelected},
      {ID_DELETE_ALL, &D::RemoveAll},
      {ID_SELECT_ALL, &D::SelectAll},
      {ID_ATTACH_GPX, &D::OnAttachGpx},
      {ID_DETACH_GPX, &D::OnDetachGpx},
      {ID_EVENTS, &D::OnEvents},
      {ID_TRIPS, &D::ToggleTrips},
      {ID_PREFERENCES, &D::OnPreferences},
      {ID_FRAME_FORWARD, &D::NextFrame},
      {ID_FRAME_BACK, &D::PreviousFrame},
      {ID_ZOOM_RESET, &D::ResetZoom},
      {ID_MARK_IN, &D::MarkIn},
      {ID_MARK_OUT, &D::MarkOut},
      {ID_CLEAR_SPAN, &D::ClearSpan},
      {ID_EXPORT, &D::OnExport},
      {IDC_SETTINGS, &D::OnSettings},
      {IDC_SNAPSHOT, &D::TakeSnapshotCommand},
      {IDC_FULL_SCREEN, &D::ToggleFullScreen},
      {IDC_NORMAL_SIZE, &D::ToggleFullScreen},
      {IDC_SOUND, &D::ToggleSound},
      {IDC_SWAP, &D::SwapFrontRear},
      {IDC_GSENSOR, &D::ToggleGraph},
      {IDC_MAP, &D::OnMap},
      {IDC_REAR_VIDEO, &D::RearVideo},
      {IDC_LARGE_MAP, &D::OnLargeMap},
      {IDC_SLOWER, &D::Slower},
      {IDC_FASTER, &D::Faster},
  };
  return kTable;
}

// Keys are looked at before the focused control sees them; "consumed" keys never reach it. A key that opens a
// dialog is always consumed: the dialog takes the focus, and when it closes the key would travel on from the
// control that no longer has the focus to the window and open the dialog a second time.
std::span<const CQuelmarDlg::KeyEntry> CQuelmarDlg::KeyTable() {
  using D = CQuelmarDlg;
  static constexpr KeyEntry kTable[] = {
      {Qt::Key_Return, false, true, &D::ToggleFullScreen},
      {Qt::Key_Enter, false, true, &D::ToggleFullScreen},
      {Qt::Key_Space, false, true, &D::OnPlayCommand},
      {Qt::Key_PageDown, false, false, &D::PlayNext},
      {Qt::Key_PageUp, false, false, &D::PlayPrevious},
      {Qt::Key_Left, false, false, &D::BackOneSecond},
      {Qt::Key_Right, false, false, &D::ForwardOneSecond},
      {Qt::Key_Home, false, false, &D::BackToStart},
      {Qt::Key_End, false, false, &D::ForwardToEnd},
      {Qt::Key_Tab, false, false, &D::RearVideo},
      {Qt::Key_F2, false, true, &D::ChooseFolder},
      {Qt::Key_F3, false, false, &D::ToggleGraph},
      {Qt::Key_F4, false, true, &D::OnEvents},
      {Qt::Key_F5, false, true, &D::OnSettings},
      {Qt::Key_F6, false, true, &D::ToggleTrips},
      {Qt::Key_Print, false, true, &D::TakeSnapshotCommand},
      // Consumed: the list would take them for the start of a file name to jump to.
      {Qt::Key_Period, false, true, &D::NextFrame},
      {Qt::Key_Comma, false, true, &D::PreviousFrame},
      {Qt::Key_0, false, true, &D::ResetZoom},
      {Qt::Key_I, false, true, &D::MarkIn},
      {Qt::Key_O, false, true, &D::MarkOut},
      {Qt::Key_Delete, false, false, &D::RemoveSelected},
      {Qt::Key_A, true, false, &D::SelectAll},
      {Qt::Key_Escape, false, true, &D::OnEscape},
  };
  return kTable;
}

bool CQuelmarDlg::OnCommand(int id) {
  for (const CommandEntry& entry : CommandTable()) {
    if (entry.id != id) continue;
    (this->*entry.handler)();
    return true;
  }
  return false;
}

// Keys typed in this window or any of its controls, never in another window of the program. A key a
// control ignores travels on to its parents; it is looked at once, where it first arrives.
bool CQuelmarDlg::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  QWidget* firstReceiver = QApplication::focusWidget() ? QApplication::focusWidget() : this;
  if (!widget || widget != firstReceiver || widget->window() != this) return false;
  return HandleKey(static_cast<QKeyEvent*>(event));
}

bool CQuelmarDlg::HandleKey(QKeyEvent* event) {
  const bool ctrl = event->modifiers().testFlag(Qt::ControlModifier);
  for (const KeyEntry& entry : KeyTable()) {
    if (entry.key != event->key() || (entry.ctrl && !ctrl)) continue;
    (this->*entry.handler)();
    return entry.consumed;
  }
  return false;
}

// Escape leaves full screen for the normal window; in the normal window it closes the program.
void CQuelmarDlg::OnEscape() {
  if (m_nWindowMode == 2) ToggleFullScreen();
  else OnClose();
}

void CQuelmarDlg::ChooseFolder() { m_pCatalogue->ChooseFolder(); }
void CQuelmarDlg::OpenFiles() { m_pCatalogue->OpenFiles(); }
void CQuelmarDlg::SortAscending() { m_pCatalogue->SortByFileName(true); }
void CQuelmarDlg::SortDescending() { m_pCatalogue->SortByFileName(false); }
void CQuelmarDlg::RemoveSelected() { m_pCatalogue->RemoveSelected(); }
void CQuelmarDlg::RemoveAll() { m_pCatalogue->RemoveAll(); }
void CQuelmarDlg::SelectAll() { m_pCatalogue->SelectAll(); }
}  // namespace vx

// Control and command IDs of the main window (dialog template 102 and the menus), shared by its tables.
//
// The main window binds its widgets by these IDs and routes commands through one table keyed by them; the
// layout tables (WindowLayout.h) and the catalogue's context menu use the same numbers.
#pragma once

namespace vx {

// Controls of the main window.
inline constexpr int IDC_MINIMIZE = 1000;
inline constexpr int IDC_CLOSE = 1001;
inline constexpr int IDC_POSITION_SLIDER = 1002;
inline constexpr int IDC_VOLUME_SLIDER = 1004;
inline constexpr int IDC_PREV = 1005;
inline constexpr int IDC_PLAY = 1006;
inline constexpr int IDC_STOP = 1007;
inline constexpr int IDC_NEXT = 1008;
inline constexpr int IDC_BACK_1S = 1009;
inline constexpr int IDC_FORWARD_1S = 1010;
inline constexpr int IDC_FPS = 1011;  // stays invisible
inline constexpr int IDC_OPEN = 1012;
inline constexpr int IDC_LIST = 1013;
inline constexpr int IDC_CURRENT_TIME = 1014;
inline constexpr int IDC_TOTAL_TIME = 1015;
inline constexpr int IDC_SETTINGS = 1016;
inline constexpr int IDC_SNAPSHOT = 1017;
inline constexpr int IDC_FULL_SCREEN = 1018;
inline constexpr int IDC_SOUND = 1023;
inline constexpr int IDC_NORMAL_SIZE = 1025;
inline constexpr int IDC_SPARE_PICTURE = 1026;  // bitmap 133, shown only with zero size
inline constexpr int IDC_SWAP = 1097;
inline constexpr int IDC_GSENSOR = 1098;
inline constexpr int IDC_MAP = 1099;
inline constexpr int IDC_REAR_VIDEO = 1100;
inline constexpr int IDC_LARGE_MAP = 1101;
inline constexpr int IDC_MAP_VIEW = 1106;
inline constexpr int IDC_SLOWER = 1110;
inline constexpr int IDC_FASTER = 1111;
inline constexpr int IDC_TIME_SEPARATOR = 1112;
inline constexpr int IDC_FRAME_DIVIDER = 1123;
inline constexpr int IDC_FRAME_BOTTOM_BAR = 1124;
inline constexpr int IDC_FRAME_MIDDLE = 1125;
inline constexpr int IDC_FRAME_SPEED_PLATE = 1126;
inline constexpr int IDC_FRAME_TOP_BAR = 1127;
inline constexpr int IDC_SPEED_LABEL = 1128;
// Speed, heading and G of the playing moment, under the video beside the time labels (this viewer's own).
inline constexpr int IDC_READOUT = 1140;

// Menu commands (menu bar and the list's context menu 225).
inline constexpr int ID_PLAY = 32771;
inline constexpr int ID_OPEN = 32772;
inline constexpr int ID_SORT_ASC = 32773;
inline constexpr int ID_SORT_DESC = 32774;
inline constexpr int ID_STOP = 32775;
inline constexpr int ID_NEXT = 32776;
inline constexpr int ID_BACK = 32777;
inline constexpr int ID_DELETE = 32779;
inline constexpr int ID_SELECT_DRIVE = 32780;
inline constexpr int ID_DELETE_ALL = 32781;
inline constexpr int ID_SELECT_ALL = 32782;
// The list's GPX entries (this viewer's own).
inline constexpr int ID_ATTACH_GPX = 32790;
inline constexpr int ID_DETACH_GPX = 32791;
// The events window of the listed card.
inline constexpr int ID_EVENTS = 32792;
// The list's trips view, on and off.
inline constexpr int ID_TRIPS = 32793;
// The viewer's Preferences dialog (trip gap, event thresholds).
inline constexpr int ID_PREFERENCES = 32794;
// One picture forward or back while paused, and the whole picture again in both views.
inline constexpr int ID_FRAME_FORWARD = 32795;
inline constexpr int ID_FRAME_BACK = 32796;
inline constexpr int ID_ZOOM_RESET = 32797;
// The span for export: in and out points at the playing moment, their removal, and the export dialog.
inline constexpr int ID_MARK_IN = 32798;
inline constexpr int ID_MARK_OUT = 32799;
inline constexpr int ID_CLEAR_SPAN = 32800;
inline constexpr int ID_EXPORT = 32801;

}  // namespace vx

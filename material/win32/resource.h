// Resource ids of material.exe, shared by material.rc and the windows that load them.
#pragma once

// Icons. The frame's CLOSEDBOOK comes first so that the shell shows it for the program.
#define IDI_CLOSEDBOOK 1
#define IDI_ABOUT 2
#define IDI_OPEN 3
#define IDI_SAVE 4
#define IDI_DELETE 5
#define IDI_HELP 6
#define IDI_DRAG 7

// Bitmaps. The status bar's animation frames keep their picture numbers, 102 to 112.
#define IDB_NEW 201
#define IDB_CLOSEDBOOK 202
#define IDB_OPENBOOK 203
#define IDB_LEAF 204
#define IDB_LEAF1 205
#define IDB_ANIMATION_FIRST 102
#define IDB_ANIMATION_LAST 112

// The frame's menu, accelerators and about window.
#define IDR_FRAME_MENU 300
#define IDR_FRAME_ACCELERATORS 301
#define IDD_ABOUT 302

// Commands. The toolbar's buttons share the ids of the menu items that do the same, and
// their tooltips are the string resources of the same ids.
#define ID_FILE_NEW 1001
#define ID_FILE_OPEN 1002
#define ID_FILE_EXIT 1003
#define ID_HELP_TOPICS 1004
#define ID_HELP_ABOUT 1005
#define ID_TOOLBAR_NEW 1101
#define ID_TOOLBAR_OPEN 1102
#define ID_TOOLBAR_SAVE 1103
#define ID_TOOLBAR_DELETE 1104
#define ID_TOOLBAR_HELP 1105

// The library window's menu and accelerators, in the menu bar while it is active.
#define IDR_LIBRARY_MENU 310
#define IDR_LIBRARY_ACCELERATORS 311
#define ID_LIBRARY_NEW 1201
#define ID_LIBRARY_OPEN 1202
#define ID_LIBRARY_CLOSE 1203
#define ID_LIBRARY_SAVE 1204
#define ID_LIBRARY_SAVE_AS 1205
#define ID_LIBRARY_EXIT 1206
#define ID_EDIT_NEW 1211
#define ID_EDIT_CLEAR 1212
#define ID_EDIT_RESET 1213
#define ID_EDIT_DELETE 1214
#define ID_EDIT_COPY 1215
#define ID_EDIT_PASTE 1216
#define ID_EDIT_UNDO 1217
#define ID_EDIT_REDO 1218
#define ID_VIEW_TOOLBAR 1221
#define ID_VIEW_STATUSBAR 1222
#define ID_LIBRARY_HELP_TOPICS 1231
#define ID_LIBRARY_ABOUT 1232
// Ctrl+F: the focus goes to the tree's filter field.
#define ID_EDIT_FIND 1241

// Strings.
#define IDS_FRAME_TITLE 2001

// Controls of the about window.
#define IDC_ABOUT_PICTURE 3001
#define IDC_ABOUT_TITLE 3002
#define IDC_ABOUT_VERSION 3003
#define IDC_ABOUT_NOTICE 3004

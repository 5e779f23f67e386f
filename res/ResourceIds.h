// Numeric ids of commands, controls, menus, accelerator tables, dialogs,
// timers and messages, with the values the program and its users know them by.
#pragma once

namespace ids {

// ---- standard file, window and application commands ----
constexpr int ID_FILE_NEW = 57600;
constexpr int ID_FILE_OPEN = 57601;
constexpr int ID_FILE_CLOSE = 57602;
constexpr int ID_FILE_SAVE = 57603;
constexpr int ID_FILE_SAVE_AS = 57604;
constexpr int ID_FILE_PRINT_SETUP = 57606;
constexpr int ID_FILE_PRINT = 57607;
constexpr int ID_FILE_PRINT_DIRECT = 57608;
constexpr int ID_FILE_PRINT_PREVIEW = 57609;
constexpr int ID_FILE_NEW_FRAME = 57613;
constexpr int ID_FILE_MRU_FILE1 = 57616;  // first of the ten recent-file entries
constexpr int ID_FILE_MRU_COUNT = 10;
constexpr int ID_WINDOW_NEW = 57648;
constexpr int ID_APP_ABOUT = 57664;
constexpr int ID_APP_EXIT = 57665;
constexpr int ID_NEXT_PANE = 57680;
constexpr int ID_PREV_PANE = 57681;
constexpr int ID_VIEW_STATUS_BAR = 59393;
constexpr int ID_PREVIEW_CLOSE = 58112;
constexpr int ID_PREVIEW_PRINT = 58116;

// ---- standard edit commands ----
constexpr int ID_EDIT_CLEAR = 57632;
constexpr int ID_EDIT_COPY = 57634;
constexpr int ID_EDIT_CUT = 57635;
constexpr int ID_EDIT_FIND = 57636;
constexpr int ID_EDIT_PASTE = 57637;
constexpr int ID_EDIT_REPEAT = 57640;
constexpr int ID_EDIT_REPLACE = 57641;
constexpr int ID_EDIT_SELECT_ALL = 57642;
constexpr int ID_EDIT_UNDO = 57643;
constexpr int ID_EDIT_REDO = 57644;

// ---- the main frame ----
constexpr int IDR_MAINFRAME = 128;  // menu, accelerators, icon and title of the main frame
constexpr int ID_STATUSBAR_PANE1 = 120;
constexpr int ID_STATUSBAR_PANE2 = 121;
constexpr int ID_WINDOW_MANAGER = 131;
constexpr int ID_VIEW_FILEVIEW = 133;
constexpr int ID_VIEW_CLASSVIEW = 134;
constexpr int ID_VIEW_OUTPUTWND = 149;
constexpr int IDR_RIBBON = 307;

// Application looks.
constexpr int ID_VIEW_APPLOOK_WIN_2000 = 205;
constexpr int ID_VIEW_APPLOOK_OFF_XP = 206;
constexpr int ID_VIEW_APPLOOK_WIN_XP = 207;
constexpr int ID_VIEW_APPLOOK_OFF_2003 = 208;
constexpr int ID_VIEW_APPLOOK_VS_2005 = 209;
constexpr int ID_VIEW_APPLOOK_VS_2008 = 210;
constexpr int ID_VIEW_APPLOOK_OFF_2007_BLUE = 215;
constexpr int ID_VIEW_APPLOOK_OFF_2007_BLACK = 216;
constexpr int ID_VIEW_APPLOOK_OFF_2007_SILVER = 217;
constexpr int ID_VIEW_APPLOOK_OFF_2007_AQUA = 218;
constexpr int ID_VIEW_APPLOOK_WINDOWS_7 = 219;
constexpr int ID_VIEW_APPLOOK_FIRST = 205;
constexpr int ID_VIEW_APPLOOK_LAST = 219;

// Pane commands of the ribbon.
constexpr int ID_ShowClassView = 32772;
constexpr int ID_ViewFileView = 32773;
constexpr int ID_ViewOutput = 32774;

// Chip commands.
constexpr int ID_ButtonFindTarn = 32775;
constexpr int ID_ButtonLoadRam = 32776;
constexpr int ID_TarnCompile = 32777;
constexpr int ID_TarnLoadEeprom = 32778;

// ---- document templates ----
constexpr int IDR_QuillmarkTYPE = 130;   // first generation
constexpr int IDR_Vorn2EditTYPE = 311;   // second generation

// ---- panes ----
constexpr int ID_PROPERTIES = 135;
constexpr int ID_OPEN = 136;
constexpr int ID_OPEN_WITH = 137;
constexpr int ID_DUMMY_COMPILE = 138;
constexpr int ID_CLASS_ADD_MEMBER_FUNCTION = 139;
constexpr int ID_CLASS_ADD_MEMBER_VARIABLE = 140;
constexpr int ID_CLASS_DEFINITION = 141;
constexpr int ID_CLASS_PROPERTIES = 142;
constexpr int ID_NEW_FOLDER = 143;
constexpr int ID_SORTING_GROUPBYTYPE = 145;
constexpr int ID_SORTING_SORTALPHABETIC = 146;
constexpr int ID_SORTING_SORTBYTYPE = 147;
constexpr int ID_SORTING_SORTBYACCESS = 148;
constexpr int IDR_POPUP_EDIT = 119;      // the views' context menu
constexpr int IDR_POPUP_SORT = 173;      // the Section View's sorting menu
constexpr int IDR_POPUP_EXPLORER = 174;  // the File View's context menu
constexpr int IDR_OUTPUT_POPUP = 182;    // the Output lists' context menu
constexpr int IDC_SECTION_TREE = 2;
constexpr int IDC_FILE_TREE = 4;
constexpr int IDC_OUTPUT_TABS = 1;
constexpr int IDC_OUTPUT_BUILD = 2;
constexpr int IDC_OUTPUT_DEBUG = 3;
constexpr int IDC_OUTPUT_FIND = 4;

// ---- dialogs ----
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDD_QUILLMARK_FORM = 101;
constexpr int IDD_PORT = 315;

// ---- the editor control ----
constexpr int IDC_COLOR_EDIT = 310;        // control id of its notifications
constexpr int IDR_EDITOR_CONTEXT_MENU = 310;
constexpr int IDR_EDITOR_ACCELERATORS = 312;

// Editor notification codes.
constexpr int EN_SETFOCUS = 0x0100;
constexpr int EN_KILLFOCUS = 0x0200;
constexpr int EN_CHANGE = 0x0300;

// ---- timers and messages ----
constexpr int IDT_SECTION_VIEW = 100;  // each view's Section View timer
constexpr int SECTION_VIEW_PERIOD_MS = 500;
constexpr int WM_GOTOLINE = 0x0401;    // id of the go-to-line event

// ---- the COM port dialog ----
constexpr int IDC_COMBO_PORT = 1000;  // its port list

// ---- pane strings and images ----
constexpr int IDS_BUILD_TAB = 300;
constexpr int IDS_DEBUG_TAB = 301;
constexpr int IDS_FIND_TAB = 302;
constexpr int IDR_EXPLORER = 169;        // the File View's toolbar
constexpr int IDB_FILE_VIEW = 175;       // the File View tree's images
constexpr int IDB_CLASS_VIEW = 177;      // the Section View tree's images

// ---- strings of the main frame ----
constexpr int IDS_STATUS_PANE1 = 122;  // "Pane 1"
constexpr int IDS_STATUS_PANE2 = 123;  // "Pane 2"
constexpr int IDS_FILE_VIEW = 155;     // pane captions
constexpr int IDS_CLASS_VIEW = 156;
constexpr int IDS_OUTPUT_WND = 157;
// The text of the windows dialog's menu item has the id of its command
// (ID_WINDOW_MANAGER); the prompt of the Section View's ribbon button that of
// ID_ShowClassView.

}  // namespace ids

#pragma once

// Numbers of the framework's standard commands, strings and controls. Applications keep these
// numbers; their own commands and resources lie below 0xE000.

// Dialog results and controls.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr unsigned IDC_STATIC = 0xFFFF;

// Show states.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOW = 5;

// Message box types.
constexpr unsigned MB_OK = 0x00;
constexpr unsigned MB_OKCANCEL = 0x01;
constexpr unsigned MB_YESNO = 0x04;
constexpr unsigned MB_ICONSTOP = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_DEFBUTTON2 = 0x100;

// Window styles, as frames and dialog templates give them.
constexpr unsigned WS_CHILD = 0x40000000;
constexpr unsigned WS_VISIBLE = 0x10000000;
constexpr unsigned WS_POPUP = 0x80000000;
constexpr unsigned WS_MAXIMIZE = 0x01000000;
constexpr unsigned WS_CAPTION = 0x00C00000;
constexpr unsigned WS_BORDER = 0x00800000;
constexpr unsigned WS_SYSMENU = 0x00080000;
constexpr unsigned WS_THICKFRAME = 0x00040000;
constexpr unsigned WS_GROUP = 0x00020000;
constexpr unsigned WS_MINIMIZEBOX = 0x00020000;
constexpr unsigned WS_TABSTOP = 0x00010000;
constexpr unsigned WS_MAXIMIZEBOX = 0x00010000;
constexpr unsigned WS_OVERLAPPEDWINDOW = 0x00CF0000;
constexpr unsigned FWS_ADDTOTITLE = 0x00008000;
constexpr unsigned DS_SETFONT = 0x40;
constexpr unsigned DS_MODALFRAME = 0x80;
constexpr unsigned ES_AUTOHSCROLL = 0x80;
constexpr unsigned BS_PUSHBUTTON = 0x0;
constexpr unsigned BS_DEFPUSHBUTTON = 0x1;
constexpr unsigned SS_LEFT = 0x0;
constexpr unsigned SS_ICON = 0x3;
constexpr unsigned SS_NOPREFIX = 0x80;

// Control-bar styles.
constexpr unsigned CBRS_ALIGN_LEFT = 0x1000;
constexpr unsigned CBRS_ALIGN_TOP = 0x2000;
constexpr unsigned CBRS_ALIGN_RIGHT = 0x4000;
constexpr unsigned CBRS_ALIGN_BOTTOM = 0x8000;
constexpr unsigned CBRS_ALIGN_ANY = 0xF000;
constexpr unsigned CBRS_BORDER_TOP = 0x0200;
constexpr unsigned CBRS_BORDER_BOTTOM = 0x0800;
constexpr unsigned CBRS_TOOLTIPS = 0x0010;
constexpr unsigned CBRS_FLYBY = 0x0020;
constexpr unsigned CBRS_SIZE_DYNAMIC = 0x0004;
constexpr unsigned CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr unsigned CBRS_BOTTOM = CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP;

// Accelerator flags and the virtual keys that accelerator tables use.
constexpr unsigned FVIRTKEY = 0x01;
constexpr unsigned FNOINVERT = 0x02;
constexpr unsigned FSHIFT = 0x04;
constexpr unsigned FCONTROL = 0x08;
constexpr unsigned FALT = 0x10;
constexpr unsigned VK_BACK = 0x08;
constexpr unsigned VK_INSERT = 0x2D;
constexpr unsigned VK_DELETE = 0x2E;
constexpr unsigned VK_F1 = 0x70;
constexpr unsigned VK_F6 = 0x75;

// Standard commands.
constexpr unsigned ID_FILE_NEW = 0xE100;
constexpr unsigned ID_FILE_OPEN = 0xE101;
constexpr unsigned ID_FILE_CLOSE = 0xE102;
constexpr unsigned ID_FILE_SAVE = 0xE103;
constexpr unsigned ID_FILE_SAVE_AS = 0xE104;
constexpr unsigned ID_FILE_PAGE_SETUP = 0xE105;
constexpr unsigned ID_FILE_PRINT_SETUP = 0xE106;
constexpr unsigned ID_FILE_PRINT = 0xE107;
constexpr unsigned ID_FILE_PRINT_DIRECT = 0xE108;
constexpr unsigned ID_FILE_PRINT_PREVIEW = 0xE109;
constexpr unsigned ID_FILE_MRU_FILE1 = 0xE110;
constexpr unsigned ID_FILE_MRU_LAST = 0xE11F;
constexpr unsigned ID_EDIT_CLEAR = 0xE120;
constexpr unsigned ID_EDIT_CLEAR_ALL = 0xE121;
constexpr unsigned ID_EDIT_COPY = 0xE122;
constexpr unsigned ID_EDIT_CUT = 0xE123;
constexpr unsigned ID_EDIT_FIND = 0xE124;
constexpr unsigned ID_EDIT_PASTE = 0xE125;
constexpr unsigned ID_EDIT_REPEAT = 0xE128;
constexpr unsigned ID_EDIT_REPLACE = 0xE129;
constexpr unsigned ID_EDIT_SELECT_ALL = 0xE12A;
constexpr unsigned ID_EDIT_UNDO = 0xE12B;
constexpr unsigned ID_EDIT_REDO = 0xE12C;
constexpr unsigned ID_WINDOW_NEW = 0xE130;
constexpr unsigned ID_WINDOW_ARRANGE = 0xE131;
constexpr unsigned ID_WINDOW_CASCADE = 0xE132;
constexpr unsigned ID_WINDOW_TILE_HORZ = 0xE133;
constexpr unsigned ID_WINDOW_TILE_VERT = 0xE134;
constexpr unsigned ID_WINDOW_SPLIT = 0xE135;
constexpr unsigned ID_APP_ABOUT = 0xE140;
constexpr unsigned ID_APP_EXIT = 0xE141;
constexpr unsigned ID_HELP_INDEX = 0xE142;
constexpr unsigned ID_HELP_FINDER = 0xE143;
constexpr unsigned ID_HELP_USING = 0xE144;
constexpr unsigned ID_CONTEXT_HELP = 0xE145;
constexpr unsigned ID_HELP = 0xE146;
constexpr unsigned ID_DEFAULT_HELP = 0xE147;
constexpr unsigned ID_NEXT_PANE = 0xE150;
constexpr unsigned ID_PREV_PANE = 0xE151;
constexpr unsigned ID_VIEW_TOOLBAR = 0xE800;
constexpr unsigned ID_VIEW_STATUS_BAR = 0xE801;
constexpr unsigned AFX_IDW_TOOLBAR = 0xE800;
constexpr unsigned AFX_IDW_STATUS_BAR = 0xE801;
constexpr unsigned ID_SEPARATOR = 0;
constexpr unsigned ID_INDICATOR_CAPS = 0xE701;
constexpr unsigned ID_INDICATOR_NUM = 0xE702;
constexpr unsigned ID_INDICATOR_SCRL = 0xE703;

// Standard strings that the framework loads from the application's string table.
constexpr unsigned AFX_IDS_APP_TITLE = 0xE000;
constexpr unsigned AFX_IDS_IDLEMESSAGE = 0xE001;
constexpr unsigned AFX_IDS_HELPMODEMESSAGE = 0xE002;
constexpr unsigned AFX_IDS_ALLFILTER = 0xF000;
constexpr unsigned AFX_IDP_FAILED_TO_OPEN_DOC = 0xF101;
constexpr unsigned AFX_IDP_PARSE_STRING_SIZE = 0xF110;
constexpr unsigned AFX_IDP_COMMAND_FAILURE = 0xF180;
// A record-store failure is reported with the string AFX_IDP_DAO_FIRST + SQLite's primary result
// code where the table has one, else with AFX_IDP_DAO_GENERIC.
constexpr unsigned AFX_IDP_DAO_GENERIC = 0xF200;
constexpr unsigned AFX_IDP_DAO_FIRST = 0xF201;
// Where one extended result code needs its own words (a file deleted while open is not simply
// read-only): AFX_IDP_DAO_EXTENDED_FIRST + SQLite's extended result code, tried first.
constexpr unsigned AFX_IDP_DAO_EXTENDED_FIRST = 0x10000;

// Descriptions of the command-line options, for --help.
constexpr unsigned AFX_IDS_CMDLINE_FILE = 0xF300;
constexpr unsigned AFX_IDS_CMDLINE_PRINT = 0xF301;
constexpr unsigned AFX_IDS_CMDLINE_PRINT_TO = 0xF302;
constexpr unsigned AFX_IDS_CMDLINE_NOSPLASH = 0xF303;
constexpr unsigned AFX_IDS_CMDLINE_UNREGISTER = 0xF304;
constexpr unsigned AFX_IDS_CMDLINE_PRINTER = 0xF305;
constexpr unsigned AFX_IDS_OPENFILE = 0xF306;
constexpr unsigned AFX_IDS_CMDLINE_HELP = 0xF307;
constexpr unsigned AFX_IDS_CMDLINE_VERSION = 0xF308;
constexpr unsigned AFX_IDS_CMDLINE_FILE_NAME = 0xF309;
// The help text's heading (%1: the program) and the titles of its two lists.
constexpr unsigned AFX_IDS_CMDLINE_USAGE = 0xF30A;
constexpr unsigned AFX_IDS_CMDLINE_OPTIONS = 0xF30B;
constexpr unsigned AFX_IDS_CMDLINE_ARGUMENTS = 0xF30C;
// Mistakes on the command line; %1: the program, %2: the option or the arguments.
constexpr unsigned AFX_IDP_CMDLINE_UNKNOWN = 0xF30D;
constexpr unsigned AFX_IDP_CMDLINE_NO_VALUE = 0xF30E;
constexpr unsigned AFX_IDP_CMDLINE_INVALID = 0xF30F;
// The window program started where no window system answers; %1: the program.
constexpr unsigned AFX_IDP_NO_DISPLAY = 0xF314;
constexpr unsigned AFX_IDS_CMDLINE_IMPORT = 0xF315;
constexpr unsigned AFX_IDS_CMDLINE_EXPORT = 0xF316;
constexpr unsigned AFX_IDS_CMDLINE_CONTAINS = 0xF317;
constexpr unsigned AFX_IDS_CMDLINE_OTHER_FILE = 0xF318;
constexpr unsigned AFX_IDS_CMDLINE_TEXT = 0xF319;
// Wrong combinations of options: both directions, a search without export, not one document.
constexpr unsigned AFX_IDP_CMDLINE_IMPORT_EXPORT = 0xF31A;
constexpr unsigned AFX_IDP_CMDLINE_CONTAINS = 0xF31B;
constexpr unsigned AFX_IDP_CMDLINE_ONE_DOCUMENT = 0xF31C;

// The help window and the help mode.
constexpr unsigned AFX_IDS_HELP_TITLE = 0xF310;
constexpr unsigned AFX_IDS_HELP_CONTENTS = 0xF311;
constexpr unsigned AFX_IDS_HELP_BACK = 0xF312;
constexpr unsigned AFX_IDS_HELP_FORWARD = 0xF313;

// Printing and the print preview. The preview's buttons are labelled with the *_LABEL strings;
// the others are their status prompts and tool tips ("prompt\ntip"). The print button uses the
// print command's prompt.
constexpr unsigned AFX_IDS_PREVIEW_CLOSE = 0xF005;
constexpr unsigned AFX_IDS_PREVIEW_NEXT = 0xF340;
constexpr unsigned AFX_IDS_PREVIEW_PREV = 0xF341;
constexpr unsigned AFX_IDS_PREVIEW_PAGES = 0xF342;
constexpr unsigned AFX_IDS_PREVIEW_ZOOMIN = 0xF343;
constexpr unsigned AFX_IDS_PREVIEW_ZOOMOUT = 0xF344;
constexpr unsigned AFX_IDS_PREVIEW_PRINT_LABEL = 0xF345;
constexpr unsigned AFX_IDS_PREVIEW_NEXT_LABEL = 0xF346;
constexpr unsigned AFX_IDS_PREVIEW_PREV_LABEL = 0xF347;
constexpr unsigned AFX_IDS_PREVIEW_ONEPAGE_LABEL = 0xF348;
constexpr unsigned AFX_IDS_PREVIEW_TWOPAGE_LABEL = 0xF349;
constexpr unsigned AFX_IDS_PREVIEW_ZOOMIN_LABEL = 0xF34A;
constexpr unsigned AFX_IDS_PREVIEW_ZOOMOUT_LABEL = 0xF34B;
constexpr unsigned AFX_IDS_PREVIEW_CLOSE_LABEL = 0xF34C;
// "Page %1 of %2" and "Pages %1 to %2 of %3", for the preview's page indicator.
constexpr unsigned AFX_IDS_PREVIEW_ONE_PAGE = 0xF34D;
constexpr unsigned AFX_IDS_PREVIEW_TWO_PAGES = 0xF34E;
// Without a printer the pages go into a PDF file: the file dialog's filter and title.
constexpr unsigned AFX_IDS_PRINT_PDF_FILTER = 0xF34F;
constexpr unsigned AFX_IDS_PRINT_PDF_TITLE = 0xF350;
// %1: the printer or file that failed, or the printer asked for.
constexpr unsigned AFX_IDP_PRINT_FAILED = 0xF351;
constexpr unsigned AFX_IDP_PRINTER_UNKNOWN = 0xF352;
constexpr unsigned AFX_IDP_NO_DEFAULT_PRINTER = 0xF353;

// What the desktop shows of the program.
constexpr unsigned AFX_IDS_SHELL_GENERIC_NAME = 0xF320;
constexpr unsigned AFX_IDS_SHELL_COMMENT = 0xF321;
constexpr unsigned AFX_IDS_SHELL_PRINT = 0xF322;

// Closing after what was typed could not be stored; %1 says why.
constexpr unsigned AFX_IDP_CLOSE_ANYWAY = 0xF330;
// A document file must be a regular file; why a pipe, device or socket named as one is not read.
constexpr unsigned AFX_IDS_NOT_A_REGULAR_FILE = 0xF331;
// Operating-system errors, by errno: AFX_IDS_ERRNO_FIRST + errno where the table has an entry,
// else AFX_IDS_ERRNO_OTHER with the number.
constexpr unsigned AFX_IDS_ERRNO_OTHER = 0xF400;
constexpr unsigned AFX_IDS_ERRNO_FIRST = 0xF401;

// Resource identifiers shared by the resource script and the code.
#pragma once

// File and document errors.
#define IDS_UNEXPECTED_EOF      600
#define IDS_PACKET_LEN_MISMATCH 601
#define IDS_READ_ERROR          602
#define IDS_WRITE_HEADER_FAILED 603
#define IDS_READ_HEADER_FAILED  604
#define IDS_NOT_OUR_FILE        605
#define IDS_WRONG_FILE_TYPE     606
#define IDS_WRONG_VERSION       607
#define IDS_CONFIRM_OVERWRITE   608
#define IDS_NO_DISK_SPACE       609
#define IDS_FILE_NOT_EXIST      610
#define IDS_INVALID_FILE_NAME   611
#define IDS_INCORRECT_PATH      612
#define IDS_OPEN_FAILED         613

// Button lists: the commands of the right-click menu of a button list.
#define IDM_BL_SWITCH_COLOR_STYLE   25
#define IDM_BL_STATUS_BAR           607
#define IDM_BL_EDIT_TOOLS           750
#define IDM_BL_COMMAND_BAR          919
#define IDM_BL_TEXT_TOOL            749
#define IDM_BL_IMAGE_LINKS          2241

// Object type display names: IDS_OBJTYPE_BASE + type code (1002..1500).
#define IDS_OBJTYPE_BASE        1000

// Colour palette window: menu commands of the strip and the second style.
#define IDM_CLR_SWITCH_STYLE    25
#define IDM_CLR_SET_FOREGROUND  400
#define IDM_CLR_SET_FRAME       401
#define IDM_CLR_SET_BACKGROUND  402
#define IDM_CLR_HELP_COLOR      403
#define IDM_CLR_HELP            500
#define IDM_CLR_EDIT            620
#define IDM_CLR_OPEN            621
#define IDM_CLR_SAVE            622
#define IDM_CLR_RESET           623
#define IDM_CLR_PICK            1243

// Colour dialogs: the RGB group, the palette edit buttons, the grid and the
// Palette Manager's menu.
#define IDC_CLR_MORE            499
#define IDC_CLR_GRID            500
#define IDC_CLR_SAMPLE          1100
#define IDC_CLR_RED_TEXT        1101
#define IDC_CLR_RED_BAR         1102
#define IDC_CLR_GREEN_TEXT      1103
#define IDC_CLR_GREEN_BAR       1104
#define IDC_CLR_BLUE_TEXT       1105
#define IDC_CLR_BLUE_BAR        1106
#define IDC_CLR_ADD             1111
#define IDC_CLR_DELETE          1112
#define IDC_CLR_REPLACE         1113
#define IDC_CLR_INSERT          1114
#define IDM_PAL_NEW             700
#define IDM_PAL_OPEN            701
#define IDM_PAL_SAVE            702
#define IDM_PAL_SAVE_AS         703
#define IDM_PAL_CLOSE           704
#define IDM_PAL_RESET           705

// Frame: messages of the frame and the document windows.
#define IDS_TOO_MANY_DOCUMENTS      894
#define IDS_CANNOT_CREATE_WORKSPACE 950

// Page layout sheet: the Standard Size page (template "PAGE_STD").
#define IDC_PG_PORTRAIT         104
#define IDC_PG_LANDSCAPE        105
#define IDC_PG_PAPER_SIZE       122

// File commands: messages and the Save Option dialog "nosavebtn".
#define IDS_SAVE_NEEDS_CONFIRM      863
#define IDC_SAVE_OPTION_TEXT        1007
#define IDC_SAVE_OPTION_HELP        1008

// Zoom: the "PERCENT" dialog and its messages.
#define IDC_PERCENT_VALUE       100
#define IDC_PERCENT_SPIN        101
#define IDS_MUST_BE_INTEGER     945
#define IDS_MUST_BE_ABOVE_ZERO  946

// Text streams: broken units met while walking backwards.
#define IDS_TX_STRCHRREV        979
#define IDS_TX_STRCHRSKIPREV    981
#define IDS_TX_STRDECRINDEX1    982
#define IDS_TX_STRDECRINDEX2    983
#define IDS_TX_HEIGHT_TOO_LARGE 984
#define IDS_TX_WIDTH_TOO_LARGE  985
#define IDS_TE_CLIP_REGISTER    986

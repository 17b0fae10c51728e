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

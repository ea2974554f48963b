#pragma once
// Resource ids shared by the resource scripts and the code that loads them.

// The version resource: its fixed file version is the plug-in's own version.
#define SABLA_VERSION_RESOURCE 1

// Interface texts live in the string table between these ids (inclusive); an id inside the
// range without a text loads as empty.
#define SABLA_FIRST_STRING_ID 40000
#define SABLA_LAST_STRING_ID 40069

// Dialog templates and the menu of the options window and its tools.
#define IDD_OPTIONS 101
#define IDD_EXTERNAL_TEXT 102
#define IDD_BASIC_SETTINGS 103
#define IDD_ABOUT 104
#define IDD_DESIGN 106
#define IDD_IN_SONG_LYRICS 107
#define IDM_TOOLS 116
#define IDD_SHIFT_TIMETAGS 118
#define IDD_LINE_BREAKS 119
#define IDD_SCALE_TIMETAGS 120

// The options window frame (template 101). OK, cancel and apply are IDOK, IDCANCEL and 4.
#define IDC_APPLY 4
#define IDC_HELP_BUTTON 9
#define IDC_OPTIONS_TABS 1001
#define IDC_OLD_HOST_HINT 1104

// The external text page (template 102).
#define IDC_EXTERNAL_EDIT 1002
#define IDC_EXTERNAL_SEARCH 1003
#define IDC_EXTERNAL_SLOTS 1033
#define IDC_INSERT_TIMETAG 1042
#define IDC_EXTERNAL_APPLY_PREVIOUS 1107
#define IDC_EXTERNAL_REWIND 1084
#define IDC_EXTERNAL_FORWARD 1085
#define IDC_EXTERNAL_APPLY_NEXT 1086
#define IDC_EXTERNAL_TOOLS 1121
#define IDC_EXTERNAL_PATH 1013
#define IDC_INSERT_AT_LINE_START 1043
#define IDC_INSERT_AT_CARET 1044
#define IDC_SHIFT_NOT_NEEDED 1045
#define IDC_EXTERNAL_IPOD_NOTES 1018
#define IDC_EXTERNAL_OPEN_FILE 1046
#define IDC_EXTERNAL_RELOAD 1036
#define IDC_EXTERNAL_DELETE 1035
#define IDC_SEND_TO_IN_SONG 1020

// The in-song lyrics page (template 107).
#define IDC_IN_SONG_EDIT 1092
#define IDC_IN_SONG_SEARCH 1101
#define IDC_IN_SONG_SLOTS 1100
#define IDC_IN_SONG_APPLY_PREVIOUS 1093
#define IDC_IN_SONG_REWIND 1104
#define IDC_IN_SONG_FORWARD 1105
#define IDC_IN_SONG_APPLY_NEXT 1106
#define IDC_IN_SONG_TOOLS 1122
#define IDC_IN_SONG_PATH 1103
#define IDC_IN_SONG_RELOAD 1094
#define IDC_IN_SONG_OPEN_FILE 1096
#define IDC_IN_SONG_DELETE 1095
#define IDC_IN_SONG_IPOD_NOTES 1099
#define IDC_SEND_TO_EXTERNAL 1102

// The tools menu (menu 116): popup 0 for the external text page, popup 1 for the in-song page.
#define IDM_SHIFT_TIMETAGS 40001
#define IDM_INPUT_LONG_TAGS 40002
#define IDM_INPUT_SHORT_TAGS 40003
#define IDM_TAGS_TO_LONG 40004
#define IDM_TAGS_TO_SHORT 40005
#define IDM_INSERT_AT_LINE_START 40006
#define IDM_INSERT_AT_CARET 40007
#define IDM_COPY_TO_IN_SONG 40008
#define IDM_COPY_TO_EXTERNAL 40009
#define IDM_IPOD_NOTES 40010
#define IDM_OPEN_FILE 40011
#define IDM_RELOAD 40012
#define IDM_DELETE 40013
#define IDM_SHIFT_NOT_NEEDED 40014
#define IDM_SCALE_TIMETAGS 40021
#define IDM_INSERT_LINE_BREAKS 40022

// The three tool dialogs (templates 118, 119, 120): OK, cancel, the value and its spin control.
#define IDC_TOOL_VALUE 1002
#define IDC_TOOL_SPIN 1123

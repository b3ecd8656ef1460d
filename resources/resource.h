// Ids shared by the program's resources and its code.
#pragma once

// The main window's menu "FORM1_TOPMENU".
#define IDM_FILE 6000
#define IDM_FILE_OPEN 6001
#define IDM_FILE_EXIT 6003
#define IDM_OPTIONS 6004
#define IDM_OPTIONS_DEFAULTS 6005
#define IDM_HELP 6006
#define IDM_HELP_HELP 6007
#define IDM_HELP_ABOUT 6009

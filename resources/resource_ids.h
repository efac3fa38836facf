#pragma once

// Shared by the resource script and the code, so each number is written once.
#define IDI_VIEWER_ICON 101
#define IDR_ACCELERATORS 113
#define IDR_MAIN_MENU 141

#define IDM_FILE_EXIT 40006
#define IDM_FILE_SAVE 40014

// Resource ids shared by the resource scripts and the code.
#pragma once

// Dialog templates.
#define IDD_FOLDER_PAGE 100
#define IDD_UNINSTALL 102
#define IDD_ABOUT 103
#define IDD_COPY_PAGE 105
#define IDD_MENU_PAGE 110

// Icons: 112 is the first group, so the shell shows it for the program file.
#define IDI_PROGRAM 112
#define IDI_UNINSTALL 113
#define IDI_PAGE 114

// Controls. The same id names different controls in different templates.
#define IDC_PROMPT 1000          // folder page: prompt (message 7)
#define IDC_DESTINATION 1001     // folder page: destination edit
#define IDC_BROWSE 1002          // folder page: Browse button
#define IDC_ABOUT 1003           // folder page: About button
#define IDC_FULL_INSTALL 1005    // folder page (Japanese only): full installation
#define IDC_REDUCED_INSTALL 1006 // folder page (Japanese only): reduced installation
#define IDC_MENU_FOLDER 1004     // menu page: program-menu folder combo box
#define IDC_DESKTOP_SHORTCUT 1006
#define IDC_MENU_SHORTCUTS 1007
#define IDC_PROGRESS 1004        // copy page: progress bar
#define IDC_STATUS 1008          // copy page: status line
#define IDC_UNINSTALL_HINT 1010  // copy page: uninstall hint
#define IDC_COPYRIGHT 1001       // about box
#define IDC_PRODUCT 1002         // about box
#define IDC_COMMENTS 1003        // about box
#define IDC_UNINSTALL_STATUS 1009
#define IDC_FINISH 2             // uninstall dialog

// Messages of the string table.
#define IDS_NO_INFORMATION 1
#define IDS_ENTRY_IN_USE 2
#define IDS_FOLDER_IS_FILE 5
#define IDS_FOLDER_FAILED 6
#define IDS_FOLDER_PROMPT 7
#define IDS_WIZARD_CAPTION 8
#define IDS_UNINSTALL_HINT 9
#define IDS_ROOT_FOLDER 11
#define IDS_NO_ROOT 12
#define IDS_FILE_IN_USE 18
#define IDS_OVERWRITE_QUESTION 19
#define IDS_OVERWRITE_CAPTION 20
#define IDS_COPY_FAILED 21
#define IDS_INSTALL_SUCCEEDED 22
#define IDS_DELETE_FAILED 24
#define IDS_FOLDER_DELETE_FAILED 26
#define IDS_ABNORMAL_REG 27
#define IDS_ENTRY1_DELETE_FAILED 28
#define IDS_UNINSTALL_CAPTION 29
#define IDS_UNINSTALLED 30
#define IDS_UNINSTALL_CONFIRM 32
#define IDS_RESIDENT_NOTE 33
#define IDS_WORKER_FAILED 34
#define IDS_INSTALL_COMPLETED 35
#define IDS_INSTALL_INTERRUPTED 36
#define IDS_INF_SUFFIX 37
#define IDS_OLD_WINDOWS 38
#define IDS_NOT_INSTALLED_COPY 39
#define IDS_INSTALL_INCOMPLETE 40
#define IDS_FOLDER_NOT_EMPTY 41
#define IDS_OTHER_INSTALLATION 42
#define IDS_DESTINATION_TOO_LONG 43
#define IDS_SWITCHES 44
#define IDS_NO_COMMON_CONTROLS 45

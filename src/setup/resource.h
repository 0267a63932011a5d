#pragma once
// Resource identifiers of setup.exe.

#define IDS_OS_NOT_SUPPORTED 6
#define IDS_NEC_NOT_SUPPORTED 7
#define IDS_SETUP 8
#define IDS_ALREADY_RUNNING 9
#define IDS_RESTART_REQUIRED 10
#define IDS_NOT_ADMIN 18
#define IDS_DISK_FULL 20
#define IDS_INSTALLER_RETRY 21
#define IDS_INSTALLER_FAILED 22

#define IDI_SETUP 102
#define IDD_PROGRESS 103
#define IDC_PROGRESS_TEXT 1000

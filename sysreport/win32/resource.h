// Resource and control identifiers of sysreport.exe.
#pragma once

#define IDI_SYSREPORT 1

#define IDD_MAIN 100
#define IDD_CHANGE_DEFAULT 101
#define IDD_ABOUT 102

// frmSysInformation
#define IDC_LABEL1 1001
#define IDC_LABEL2 1002
#define IDC_LBL_EMAIL_TO 1003
#define IDC_TXT_EMAIL_TO 1004
#define IDC_CMD_SAVE_TO_FILE 1005
#define IDC_CMD_SENT_EMAIL 1006
#define IDC_CMD_EXIT 1007
#define IDC_LBL_COMPUTER_RUNNING 1008

// Menu items of frmSysInformation
#define IDM_SAVE 2001
#define IDM_EMAIL 2002
#define IDM_EXIT 2003
#define IDM_CHANGE_DEFAULT 2004
#define IDM_SYS_INFO 2005

// frmChangeDefault (cmdOK is IDOK; Cancel has its own id, so that Escape and
// the close box close the dialog without restoring the default address)
#define IDC_LBL_DEFAULT_EMAIL 1101
#define IDC_TXT_DEFAULT_EMAIL 1102
#define IDC_CMD_CANCEL 1103

// frmAbout (cmdOK is IDOK)
#define IDC_PIC_ICON 1201
#define IDC_LBL_TITLE 1202
#define IDC_LBL_VERSION 1203
#define IDC_LBL_DESCRIPTION 1204
#define IDC_LBL_DISCLAIMER 1205
#define IDC_CMD_SYS_INFO 1206
#define IDC_ABOUT_RULE 1207
#define IDC_LBL_SUITE_VERSION 1208

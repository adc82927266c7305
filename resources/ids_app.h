// Resource numbers of the app subsystem.
#pragma once

#define IDR_MAINFRAME 128          // icon, menu, toolbar and accelerators of the main frame
#define IDR_TRAY_MENU 135          // the notification-area icon's pop-up menu
#define IDS_OLE_INIT_FAILED 100
#define IDS_APP_TITLE 57344        // "Pagelark"
#define IDD_ABOUTBOX 100
#define IDC_ABOUT_VERSION 1027     // "Version: " and the version text
#define IDS_ABOUT_VERSION 16960    // "Version: "
#define IDS_PASSWORD_NOT_STORABLE 16961

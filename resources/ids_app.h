// Resource numbers of the app subsystem.
#pragma once

#define IDR_MAINFRAME 128          // icon, menu, toolbar and accelerators of the main frame
#define IDS_OLE_INIT_FAILED 100
#define IDS_APP_TITLE 57344        // "Pagelark"

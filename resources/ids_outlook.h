// Resource numbers of Outlook automation: the folder chooser and the failure texts.
#pragma once

#define IDD_FOLDERS 175                // CFoldersDlg
#define IDC_FOLDER_TREE 1088
#define IDC_FOLDER_LABEL 1104
#define IDB_FOLDERS_17 185             // 17 folder pictures, 16 x 16 on magenta (Outlook 11 and later)
#define IDB_FOLDERS_5 186              // 5 folder pictures (Outlook 10 and earlier)
#define IDS_FOLDER_LABEL 16828         // "Folder:"

// "... \n\n%s": what failed, then Outlook's or the system's text.
#define IDS_OUTLOOK_READ_FAILED 17130
#define IDS_OUTLOOK_UPDATE_FAILED 17131
#define IDS_OUTLOOK_DELETE_FAILED 17132
#define IDS_OUTLOOK_MOVE_FAILED 17133
#define IDS_OUTLOOK_COPY_FAILED 17134
#define IDS_OUTLOOK_FOLDERS_FAILED 17135

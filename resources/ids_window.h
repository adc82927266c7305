// Resource numbers of the window subsystem: the message window's dialog bar, status bar and texts.
#pragma once

#define IDD_SMS_DIALOG_BAR 128     // dialog template of the dialog bar (480 x 65 DLU)
#define IDC_TO_BUTTON 1000
#define IDC_TO_FIELD 1001
#define IDC_CC_BUTTON 1002
#define IDC_CC_FIELD 1003
#define IDC_SEND_ON 1004
#define IDC_SEND_DATE 1005
#define IDC_SEND_TIME 1006
#define IDC_PURCHASE_CREDITS 1009
#define IDC_FLASH_SMS 1108
#define IDC_REPLY_TO_INBOX 1114
#define IDC_REPLY_TO_MOBILE 1116
#define IDC_MESSAGE_EDITOR 1090

#define ID_DIALOG_BAR 59500
#define ID_STATUS_BAR 59393
#define ID_PANE_STATUS_ICON 1027
#define ID_PANE_STATUS_LABEL 1028
#define ID_PANE_CREDITS 1029
#define ID_PANE_CREDITS_LABEL 1030
#define ID_PANE_COUNTER 1031
#define ID_PANE_COUNTER_LABEL 1032

#define IDS_STATUS_LABEL 1028           // " Status:"
#define IDS_CREDITS_LABEL 1030          // " Credits:"
#define IDS_COUNTER_LABEL 1032          // " Chars / 1520 [SMS]:"
#define IDS_UPDATE_CREDITS 16783        // "Update credits..."
#define IDS_SMS_SUBJECT 16810           // "SMS-Message"
#define IDS_DELETE_CHANGED 16811        // "The element has been changed. ..."
#define IDS_SAVE_CHANGES 16812          // "Do you want to save the changes?"
#define IDS_CANCEL 16815                // "Cancel"
#define IDS_COPY_TO_FOLDER 16822        // "Copy to folder"
#define IDS_MOVE_TO_FOLDER 16823        // "Move to folder"
#define IDS_NO_DATA 16824               // "You have not entered any data."
#define IDS_READY 57345                 // "Ready"

#define IDI_SEND_SUCCEEDED 145
#define IDI_SEND_FAILED 146

// The spelling dialog of the Spell Checking command.
#define IDD_SPELLING 240
#define IDC_SPELL_WORD 1300
#define IDC_SPELL_CHANGE_TO 1301
#define IDC_SPELL_SUGGESTIONS 1302
#define IDC_SPELL_CHANGE 1303
#define IDC_SPELL_CHANGE_ALL 1304
#define IDC_SPELL_IGNORE 1305
#define IDC_SPELL_IGNORE_ALL 1306
#define IDC_SPELL_ADD 1307

// Resource numbers of the send, save and print commands.
#pragma once

// The confirmation box with "Don't show this message again".
#define IDD_MESSAGE_BOX_ASK 162
#define IDC_ASK_ICON 1062
#define IDC_ASK_DONT_SHOW 1063
#define IDC_ASK_MESSAGE 1066

// The progress box while a message prints.
#define IDD_PRINTING 30722
#define IDC_PRINTING_PAGE 1070

#define IDS_SEND_QUESTION 16778          // "Send the message?"
#define IDS_SEND_SUCCEEDED 16780         // "Message(s) successfully sent."
#define IDS_SEND_FAILED 16781            // "Your message(s) could not be send! Please try again."
#define IDS_ENTER_RECIPIENTS 16809       // "Please enter recipient(s)."
#define IDS_ENTER_TEXT 16820             // "Please enter text."
#define IDS_LAYOUT_TO_LABEL 16821        // "To"
#define IDS_COST_RECIPIENT_ONE 16850     // "%d recipient"
#define IDS_COST_RECIPIENTS_MANY 16851   // "%d recipients"
#define IDS_COST_LINE 16852              // "%s × %d SMS = %d SMS"
#define IDS_UNSENDABLE_CHARACTERS 16853  // the characters Windows-1252 lacks
#define IDS_SAVE_AS_FILTER 16854         // "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||"
#define IDS_PRINTING_PAGE 16855          // "Page %d of %d"
#define IDS_PRINT_JOB_FAILED 16856       // "Could not start print job."

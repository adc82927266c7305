// Resource numbers of the setup subsystem.
#pragma once

// Setup wizard pages, in sheet order.
#define IDD_REGISTER_TERMS 147
#define IDD_REGISTER_ACCOUNT 148
#define IDD_REGISTER_VERIFY 186
#define IDD_REGISTER_PIN 149
#define IDD_REGISTER_FINISH 164
#define IDD_REGISTER_PROXY 185

// Options sheet pages, in sheet order.
#define IDD_CONFIG_USER 136
#define IDD_CONFIG_GLOBAL 137
#define IDD_CONFIG_UPDATE 152
#define IDD_CONFIG_EMAIL 138
#define IDD_CONFIG_LOG 163
#define IDD_CONFIG_PROXY 183

#define IDB_LANGUAGE_FLAGS 153     // 6 flags of 16 pixels: Dutch, English, French, German, Italian, Spanish

#define IDS_SETUP_PASSWORDS_DIFFER 16827
#define IDS_SETUP_CLEAR_STATUS_ASK 16782
#define IDS_SETUP_NO_UPDATE 16835
#define IDS_SETUP_ENTER_INTEGER 16870
#define IDS_SETUP_FILE_NOT_FOUND 16871
#define IDS_SETUP_SITE_IN_BRACKETS 16872
#define IDS_SETUP_FINISH_PROFILE 16873
#define IDS_SETUP_MY_TELVORO_AT 16874

// Terms page
#define IDC_TERMS_TEXT 1037
#define IDC_TERMS_YES 1070
#define IDC_TERMS_NO 1071
// Account page
#define IDC_ACCOUNT_EXISTING 1029
#define IDC_ACCOUNT_NEW 1030
#define IDC_ACCOUNT_USER 1031
#define IDC_ACCOUNT_COUNTRY 1032
#define IDC_ACCOUNT_MOBILE 1034
#define IDC_ACCOUNT_EMAIL 1014
#define IDC_ACCOUNT_PASSWORD 1015
#define IDC_ACCOUNT_CONFIRM 1016
#define IDC_ACCOUNT_CAPTION 1035
#define IDC_ACCOUNT_PROXY 1100
// Verification page
#define IDC_VERIFY_CAPTION 1101
#define IDC_VERIFY_COUNTRY 1102
#define IDC_VERIFY_NUMBER 1103
// PIN page
#define IDC_PIN_EDIT 1015
#define IDC_PIN_REQUEST 1089
// Finish page
#define IDC_FINISH_PROFILE 1104
// Proxy pages (wizard and options)
#define IDC_PROXY_USE 1095
#define IDC_PROXY_ADDRESS 1098
#define IDC_PROXY_PORT 1090
// My Telvoro page
#define IDC_USER_MOBILE 1013
#define IDC_USER_EMAIL 1014
#define IDC_USER_PASSWORD 1015
#define IDC_USER_NAME 1028
#define IDC_USER_LINK_DATA 1050
#define IDC_USER_LINK_PAYMENT 1051
#define IDC_USER_SITE_LABEL 1052
// Global page
#define IDC_GLOBAL_LANGUAGE 1016
#define IDC_GLOBAL_AUTORUN 1017
#define IDC_GLOBAL_MIN_CREDITS 1042
#define IDC_GLOBAL_COPY_TO 1043
#define IDC_GLOBAL_CONFIRM 1044
#define IDC_GLOBAL_TRAY_ICON 1045
#define IDC_GLOBAL_SAVE_CHANGED 1055
#define IDC_GLOBAL_CHECK_NUMBERS 1057
// Updates page
#define IDC_UPDATE_DOWNLOAD 1058
#define IDC_UPDATE_INSTALL 1059
#define IDC_UPDATE_CHECK_NOW 1060
// E-Mail Integration page
#define IDC_EMAIL_OUTLOOK 1020
#define IDC_EMAIL_OE 1021
#define IDC_EMAIL_SAVE_SENT 1022
// Status page
#define IDC_LOG_LIST 1067
#define IDC_LOG_CLEAR 1069
// Section captions share one look: bold text, an etched line and the program icon.
#define IDC_SECTION_CAPTION 1110
#define IDS_SETUP_WIZARD_TITLE 16876
#define ID_OPTIONS_COMMAND 32807     // "Options"; its text up to the line feed titles the options sheet

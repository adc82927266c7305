// Resource numbers of the address books.
#pragma once

#define IDS_MAPI_LOG_FAILED 17110     // "Can't initialize mapi.log!\n%s"
#define IDS_LOG_OPEN_FAILED 17111     // "Can't open %s!\n%s"
#define IDS_WAB_STRING_PROPS_ONLY 17112
#define IDS_ERROR_CAPTION 17113       // "Error"

// Resource numbers of the numbers subsystem.
#pragma once

#define IDS_NUMBERS_NOT_CORRECT 16845     // "One or more numbers appear to be not correct. ..."
#define IDS_ADDRESSES_NOT_CORRECT 16846   // "One or more e-mail address(es) appear to be not correct. ..."

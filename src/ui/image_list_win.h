#pragma once
// Move-only owner of an image list (toolbar pictures, language flags).
#include <windows.h>
#include <commctrl.h>

#include "common/handle_win.h"

namespace pagelark {

inline bool DestroyImageList(HIMAGELIST images) { return ImageList_Destroy(images) != FALSE; }
using ImageListHandle = UniqueHandle<HIMAGELIST, DestroyImageList>;

}  // namespace pagelark

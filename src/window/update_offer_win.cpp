#include "window/update_offer_win.h"

namespace pagelark {

// The update check comes with program updates; nothing is offered until then.
void OfferUpdateAfterStatus(Application&, HWND) {}

}  // namespace pagelark

#include "window/frame_layout.h"

namespace pagelark {

FrameLayout ComputeFrameLayout(const FrameLayoutInput& in) {
    FrameLayout out;
    out.recipientFieldWidth = in.clientWidth - 109;
    out.purchaseButtonX = in.clientWidth - 112;
    out.editor.top = in.dialogBarBottom + 1;
    out.editor.bottom = in.outerBottom - 25;
    if (in.flushEditor) {
        out.editor.left = 0;
        out.editor.right = in.outerRight - 5;
    } else {
        out.editor.left = 5;
        out.editor.right = in.outerRight - 10;
    }
    return out;
}

}  // namespace pagelark

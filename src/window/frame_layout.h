#pragma once
// Where the recipient fields, the "Purchase credits" button and the editor go on a resize.
namespace pagelark {

struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const PixelRect&) const = default;
};

struct FrameLayoutInput {
    int clientWidth = 0;
    int outerRight = 0;       // the frame's window rectangle in client coordinates
    int outerBottom = 0;
    int dialogBarBottom = 0;  // in client coordinates
    bool flushEditor = false; // Outlook Express or Word-editor look
};

struct FrameLayout {
    int recipientFieldWidth = 0;
    int purchaseButtonX = 0;
    PixelRect editor;
};

FrameLayout ComputeFrameLayout(const FrameLayoutInput& in);

}  // namespace pagelark

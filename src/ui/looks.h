#pragma once
// The window layer's looks and which one a message window takes for its host mail client.
//
// Look 0 classic (raised toolbar buttons), 1 flat, 2 Office-2003 blue gradients, 3 the
// Outlook-Express-like toolbar with captions. Everything here is pure so the choices are
// tested natively; the _win files apply them.
#include "model/contact.h"

namespace pagelark {

enum class Look : int { Classic = 0, Flat = 1, Office2003 = 2, Express = 3 };

struct Rgb {
    unsigned char r, g, b;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The two Office-2003 background colours: the dialog bar's gradient runs from the first to the
// second, and its control background brush is the first.
inline constexpr Rgb kOffice2003First{221, 236, 254};
inline constexpr Rgb kOffice2003Second{158, 190, 245};
// Office-2003 button colours (gradient top and bottom, hot and pressed faces, border).
inline constexpr Rgb kOffice2003ButtonTop{255, 255, 255};
inline constexpr Rgb kOffice2003ButtonBottom{196, 218, 250};
inline constexpr Rgb kOffice2003Hot{255, 238, 194};
inline constexpr Rgb kOffice2003Pressed{254, 128, 62};
inline constexpr Rgb kOffice2003Border{0, 45, 150};
// The Outlook-Express-like toolbar background.
inline constexpr Rgb kExpressToolbar{236, 233, 216};

// Colour of position `x` of `width` pixels along a horizontal gradient from `from` to `to`.
Rgb GradientAt(Rgb from, Rgb to, int x, int width);
// Width the dialog bar's gradient spans: the bar's width, or half the screen when the bar is narrower.
int GradientSpan(int barWidth, int screenWidth);

// How the toolbar "Standard" of a message window is built.
struct ToolbarChoice {
    Look look;
    int toolbarId;    // TOOLBAR resource: which buttons
    int bitmapId;     // BITMAP resource: the pictures (the order of toolbar IDR_MAINFRAME)
    int imageSize;    // pixels
    int buttonSize;   // pixels; 0: the toolbar's own size for the image
};

// `expressIconSize` is Outlook Express's "Toolbar Icon Size" (1 = large), only read for host 2.
ToolbarChoice ChooseToolbar(HostClient host, int clientVersion, int expressIconSize);
// Menu IDR_MAINFRAME, or IDR_EXPRESS (without Save, Move and Copy to Folder) for Outlook Express.
int ChooseMenu(HostClient host);
// Window class icon: IDI_WINDOW_OUTLOOK up to Outlook 10, IDI_WINDOW_OUTLOOK11 for Outlook 11 and later,
// IDI_WINDOW_EXPRESS for Outlook Express.
int ChooseWindowIcon(HostClient host, int clientVersion);

// The recipient buttons become toolkit buttons with an icon (and ":" captions) for Outlook Express
// and for Outlook with Word as its e-mail editor.
bool UsesToolkitButtons(HostClient host, bool wordEditor);
int ChooseRecipientButtonIcon(int clientVersion);       // IDI_RECIPIENTS11 above version 10, else IDI_RECIPIENTS
Look ChooseButtonLook(HostClient host, int clientVersion);
// The dialog bar paints the Office-2003 gradient only for Outlook above 10 with the Word editor.
bool UsesGradientDialogBar(HostClient host, int clientVersion, bool wordEditor);
// Controls are drawn in the classic style for Outlook below 11 and for Outlook Express.
bool UsesClassicControlTheme(HostClient host, int clientVersion);

// Where Outlook Express keeps its toolbar size: before Windows Vista under the identity's key,
// from Vista on under Windows Mail.
enum class ExpressSettingsPlace { Identity, WindowsMail };
ExpressSettingsPlace ExpressToolbarSizePlace(int windowsMajorVersion);

}  // namespace pagelark

#pragma once
// Identifiers of the add-in: our own fixed ones (the class, its AppID, the type library and its
// interface; written once, see docs/quillbridge.md, never to be changed: installed registrations
// refer to them) and the published ones of Office and Outlook that the add-in talks to.
#include <windows.h>

namespace quillbridge {

// {B25F22AE-C9B0-4621-AD4A-C600BD646EA2}: coclass Addin
inline constexpr CLSID kAddinClassId = {0xb25f22ae, 0xc9b0, 0x4621, {0xad, 0x4a, 0xc6, 0x00, 0xbd, 0x64, 0x6e, 0xa2}};
// {A83D5FA6-F823-4CE1-B5BA-E104DB454F8C}
inline constexpr GUID kAppId = {0xa83d5fa6, 0xf823, 0x4ce1, {0xb5, 0xba, 0xe1, 0x04, 0xdb, 0x45, 0x4f, 0x8c}};
// {E2A3BE5C-3BDE-483D-BA63-BF56329E1395}: QuillbridgeLib 1.0
inline constexpr GUID kTypeLibId = {0xe2a3be5c, 0x3bde, 0x483d, {0xba, 0x63, 0xbf, 0x56, 0x32, 0x9e, 0x13, 0x95}};
inline constexpr WORD kTypeLibMajor = 1;
inline constexpr WORD kTypeLibMinor = 0;
// {31E45215-62DD-4CC5-9F28-6987CF23DD78}: IAddin
inline constexpr IID kIAddinId = {0x31e45215, 0x62dd, 0x4cc5, {0x9f, 0x28, 0x69, 0x87, 0xcf, 0x23, 0xdd, 0x78}};

inline constexpr wchar_t kAddinClassIdText[] = L"{B25F22AE-C9B0-4621-AD4A-C600BD646EA2}";
inline constexpr wchar_t kAppIdText[] = L"{A83D5FA6-F823-4CE1-B5BA-E104DB454F8C}";
inline constexpr wchar_t kTypeLibIdText[] = L"{E2A3BE5C-3BDE-483D-BA63-BF56329E1395}";

// Published: IDTExtensibility2 (the Office add-in interface).
inline constexpr IID kExtensibilityId = {0xb65ad801, 0xabaf, 0x11d0, {0xbb, 0x8b, 0x00, 0xa0, 0xc9, 0x0f, 0x27, 0x44}};
// Outlook's _Application.
inline constexpr IID kOutlookApplicationId = {0x00063001, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
// Outlook's ExplorerEvents and ItemEvents, Office's _CommandBarButtonEvents (dispinterfaces).
inline constexpr IID kExplorerEventsId = {0x0006304f, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID kItemEventsId = {0x0006303a, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID kCommandBarButtonEventsId = {0x000c0351, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

// Dispatch ids of the events handled.
inline constexpr DISPID kClickEvent = 1;                // _CommandBarButtonEvents.Click
inline constexpr DISPID kItemOpenEvent = 0xF003;        // ItemEvents.Open
inline constexpr DISPID kSelectionChangeEvent = 0xF007; // ExplorerEvents.SelectionChange
inline constexpr DISPID kExplorerCloseEvent = 0xF008;   // ExplorerEvents.Close

}  // namespace quillbridge

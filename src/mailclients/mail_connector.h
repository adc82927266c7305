#pragma once
// The mail-connector interface through which Outlook Express and Windows Mail are extended: a
// hook library and a few late-bound COM classes registered under our own ProgIDs. Any component
// that offers these classes and members can stand behind the program's Outlook Express side
// (docs/mail-connector.md describes the contract for writers of such a component).
namespace pagelark::connector {

// The hook library, looked up where the system looks for libraries; a missing one is not an error.
inline constexpr wchar_t kHookLibrary[] = L"oehook.dll";

// Class ProgIDs.
inline constexpr wchar_t kInitProgId[] = L"Pagelark.MailConnector.Init";
inline constexpr wchar_t kFolderManagerProgId[] = L"Pagelark.MailConnector.FolderManager";
inline constexpr wchar_t kClientProgId[] = L"Pagelark.MailConnector.Client";
inline constexpr wchar_t kIdentityProgId[] = L"Pagelark.MailConnector.Identity";

// Members. Events are delivered by name to the IDispatch given to Advise.
inline constexpr wchar_t kAdvise[] = L"Advise";               // Advise(sink)
inline constexpr wchar_t kUnadvise[] = L"Unadvise";           // Unadvise()
inline constexpr wchar_t kGetStandardFolder[] = L"GetStandardFolder";   // (kind 1..5) -> Folder
inline constexpr wchar_t kCreateMessage[] = L"CreateMessage";           // Folder: (source, 0) -> id
inline constexpr wchar_t kGetToolbar[] = L"GetToolbar";                 // Client: () -> Toolbar
inline constexpr wchar_t kClose[] = L"Close";                           // Client: ()
inline constexpr wchar_t kCreateButton[] = L"CreateButton";   // Toolbar: (caption, image, highlight) -> Button
inline constexpr wchar_t kTooltip[] = L"Tooltip";                       // Button: text property
inline constexpr wchar_t kCurrentIdentity[] = L"CurrentIdentity";       // Identity: text property

// Events.
inline constexpr wchar_t kOnInit[] = L"OnInitOEAPI";
inline constexpr wchar_t kOnShutdown[] = L"OnShutdownOEAPI";
inline constexpr wchar_t kOnClick[] = L"OnClick";

// The button picture below the program folder, used for the normal and the highlighted image.
inline constexpr wchar_t kButtonImage[] = L"\\Data\\button.bmp";
// How long the client is given after it reported ready before the button is added.
inline constexpr unsigned kButtonDelayMs = 500;

}  // namespace pagelark::connector

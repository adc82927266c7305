#pragma once
// Outlook's rules that need no Outlook: the default-client test, the version, the sender text, the
// clean-up of a read body, the default folders of the folder tree and their pictures.
#include <optional>
#include <string>
#include <vector>

#include "mailclients/mail_bridge.h"
#include "model/message_record.h"

namespace pagelark {

// The message class of the program's items, and of the sent copy's first step.
inline constexpr char kPagelarkMessageClass[] = "IPM.Note.Pagelark";
inline constexpr char kPostMessageClass[] = "IPM.Post";
// The form file below the program folder, and the name it is published under.
inline constexpr char kFormFile[] = "\\Data\\Pagelark.oft";
inline constexpr char kFormName[] = "Pagelark";
inline constexpr int kPersonalFormsLibrary = 2;   // OlFormRegistry: olPersonalRegistry

// 1 when the default value of HKLM "Software\Clients\Mail" contains "Microsoft Outlook", else 2
// (also when the value is missing).
int DefaultMailClientAnswer(const std::optional<std::string>& clientsMailValue);

// Outlook's major version from "Outlook.Application\CurVer" ("Outlook.Application.11" → 11): the
// number after the last dot, 0 when there is none or no value.
int OutlookVersionFromCurVer(const std::optional<std::string>& curVer);
// The host's major version: Outlook's from CurVer, 6 for Outlook Express, 0 for anything else.
int MailClientMajorVersion(HostClient host, const std::optional<std::string>& curVer);

// "%s (%s%s)": the user's name and, in parentheses, the country code followed by the mobile number.
std::string SenderDisplayText(const std::string& userName, const std::string& landCode, const std::string& mobile);

// A body read from Outlook: " \r\n" becomes "\r\n", and trailing CR and LF go.
std::string CleanReadBody(std::string body);

// Outlook's default-folder number (OlDefaultFolders) for a folder kind.
int DefaultFolderNumber(FolderKind kind);

// OlDefaultFolders numbers of the folder tree's default folders, in the order they are looked up;
// Junk E-mail (23) only above version 10.
std::vector<int> FolderTreeDefaultFolders(int outlookVersion);

// The ids of the default folders, by their OlDefaultFolders number; missing ones stay empty.
struct DefaultFolderIds {
    std::vector<std::pair<int, std::string>> ids;
    void Set(int number, std::string id) { ids.emplace_back(number, std::move(id)); }
};

// A folder's picture in the chooser's strip: a default folder's own picture first, else by the
// folder's default item type; -1 when neither says.
int FolderImageIndex(const std::string& entryId, int defaultItemType, const DefaultFolderIds& defaults);

// Inserts `node` before the first sibling whose name compares greater (case-sensitive, byte by byte).
void InsertFolderSorted(std::vector<MailFolder>& siblings, MailFolder node);

}  // namespace pagelark

#include "mailclients/outlook_rules.h"

#include <cstdio>
#include <cstdlib>

namespace pagelark {

int DefaultMailClientAnswer(const std::optional<std::string>& clientsMailValue) {
    return clientsMailValue && clientsMailValue->find("Microsoft Outlook") != std::string::npos ? 1 : 2;
}

int OutlookVersionFromCurVer(const std::optional<std::string>& curVer) {
    if (!curVer) return 0;
    const size_t dot = curVer->rfind('.');
    if (dot == std::string::npos) return 0;
    const std::string number = curVer->substr(dot + 1);
    if (number.empty() || number.size() > 4) return 0;
    for (char c : number)
        if (c < '0' || c > '9') return 0;
    return std::atoi(number.c_str());
}

int MailClientMajorVersion(HostClient host, const std::optional<std::string>& curVer) {
    if (host == HostClient::OutlookExpress) return 6;
    if (host == HostClient::Outlook) return OutlookVersionFromCurVer(curVer);
    return 0;
}

std::string SenderDisplayText(const std::string& userName, const std::string& landCode, const std::string& mobile) {
    return userName + " (" + landCode + mobile + ")";
}

std::string CleanReadBody(std::string body) {
    std::string cleaned;
    cleaned.reserve(body.size());
    for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] == ' ' && body.compare(i + 1, 2, "\r\n") == 0) continue;
        cleaned += body[i];
    }
    while (!cleaned.empty() && (cleaned.back() == '\r' || cleaned.back() == '\n')) cleaned.pop_back();
    return cleaned;
}

int DefaultFolderNumber(FolderKind kind) {
    switch (kind) {
    case FolderKind::DeletedItems: return 3;
    case FolderKind::Outbox: return 4;
    case FolderKind::SentItems: return 5;
    case FolderKind::Inbox: return 6;
    case FolderKind::Drafts: return 16;
    }
    return 0;
}

std::vector<int> FolderTreeDefaultFolders(int outlookVersion) {
    std::vector<int> numbers{6, 4};
    if (outlookVersion > 10) numbers.push_back(23);
    numbers.insert(numbers.end(), {5, 11, 13, 12, 16, 9, 10, 3});
    return numbers;
}

int FolderImageIndex(const std::string& entryId, int defaultItemType, const DefaultFolderIds& defaults) {
    // The default folders in the order their pictures are tried.
    static const int kDefaultImages[][2] = {{6, 5}, {4, 10}, {23, 7}, {5, 11}, {11, 6}, {13, 12},
                                            {12, 9}, {16, 4}, {9, 1},  {10, 2}, {3, 3}};
    if (!entryId.empty()) {
        for (const auto& [number, image] : kDefaultImages)
            for (const auto& [known, id] : defaults.ids)
                if (known == number && id == entryId) return image;
    }
    switch (defaultItemType) {
    case 0:   // mail items
    case 6:   // post items
        return 8;
    case 2: return 2;    // contacts
    case 3: return 12;   // tasks
    case 4: return 6;    // journal entries
    case 5: return 9;    // notes
    default: return -1;
    }
}

void InsertFolderSorted(std::vector<MailFolder>& siblings, MailFolder node) {
    auto at = siblings.begin();
    while (at != siblings.end() && at->name.compare(node.name) <= 0) ++at;
    siblings.insert(at, std::move(node));
}

}  // namespace pagelark

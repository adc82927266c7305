#include "window/mail_folder_dialog_win.h"

#include "common/wide_string_win.h"
#include "mailclients/outlook_items_win.h"
#include "resource_ids.h"
#include "ui/resources_win.h"

namespace pagelark {

CFoldersDlg::CFoldersDlg(const std::vector<MailFolder>& folders, std::wstring caption, int outlookVersion)
    : Dialog(IDD_FOLDERS), folders_(folders), caption_(std::move(caption)), outlookVersion_(outlookVersion) {}

BOOL CFoldersDlg::OnInitDialog() {
    SetItemText(IDC_FOLDER_LABEL, LoadText(IDS_FOLDER_LABEL).c_str());
    SetItemText(IDCANCEL, LoadText(IDS_CANCEL).c_str());
    SetWindowTextW(hwnd(), caption_.c_str());

    const bool oldOutlook = outlookVersion_ <= 10;
    imageCount_ = oldOutlook ? 5 : 17;
    images_ = ImageListHandle(ImageList_Create(16, 16, ILC_COLOR24 | ILC_MASK, imageCount_, 0));
    const BitmapHandle strip(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr),
                                                             MAKEINTRESOURCEW(oldOutlook ? IDB_FOLDERS_5 : IDB_FOLDERS_17),
                                                             IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (images_ && strip) ImageList_AddMasked(images_.get(), strip.get(), RGB(255, 0, 255));   // magenta is see-through
    HWND tree = Item(IDC_FOLDER_TREE);
    TreeView_SetImageList(tree, images_.get(), TVSIL_NORMAL);
    AddNodes(tree, TVI_ROOT, folders_);
    for (HTREEITEM top = TreeView_GetRoot(tree); top; top = TreeView_GetNextSibling(tree, top))
        TreeView_Expand(tree, top, TVE_EXPAND);
    return TRUE;
}

void CFoldersDlg::AddNodes(HWND tree, HTREEITEM parent, const std::vector<MailFolder>& nodes) {
    for (const MailFolder& node : nodes) {
        // A folder without a picture of its own, or whose picture the old strip lacks, shows the
        // plain folder.
        const int image = node.image >= 0 && node.image < imageCount_ ? node.image : 0;
        std::wstring name = Widen(node.name);
        TVINSERTSTRUCTW insert{};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
        insert.item.pszText = name.data();
        insert.item.iImage = image;
        insert.item.iSelectedImage = image;
        insert.item.lParam = reinterpret_cast<LPARAM>(&node);
        HTREEITEM item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
        if (item) AddNodes(tree, item, node.children);
    }
}

bool CFoldersDlg::OnCommand(WORD id, WORD notification, HWND control) {
    if (id == IDOK) {
        HWND tree = Item(IDC_FOLDER_TREE);
        HTREEITEM selected = TreeView_GetSelection(tree);
        if (!selected) return true;   // nothing chosen yet: the dialog stays
        TVITEMW item{};
        item.mask = TVIF_PARAM;
        item.hItem = selected;
        if (!TreeView_GetItem(tree, &item) || !item.lParam) return true;
        chosen_ = reinterpret_cast<const MailFolder*>(item.lParam);
        End(IDOK);
        return true;
    }
    return Dialog::OnCommand(id, notification, control);
}

std::optional<std::string> ChooseMailFolder(HWND owner, const std::vector<MailFolder>& folders, int captionId) {
    CFoldersDlg dialog(folders, LoadText(static_cast<UINT>(captionId)), OutlookItems::Version());
    if (dialog.ShowModal(owner) != IDOK || !dialog.chosen()) return std::nullopt;
    return dialog.chosen()->id;
}

}  // namespace pagelark

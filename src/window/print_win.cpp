#include "window/print_win.h"

#include <commdlg.h>

#include <algorithm>
#include <string>
#include <vector>

#include "common/handle_win.h"
#include "common/text_encoding.h"
#include "common/wide_string_win.h"
#include "ids_send.h"
#include "ui/common_controls_win.h"
#include "ui/resources_win.h"
#include "window/print_jobs.h"
#include "window/print_layout.h"
#include "window/send_cost.h"

namespace pagelark {
namespace {

// The modeless progress box; its Cancel stops its own job after the page being printed.
struct PrintProgress : PrintJobState {
    HWND box = nullptr;
};
thread_local PrintJobs t_jobs;   // every job of this thread, nested ones too

// Lists a job for its device's abort callback while it prints.
class JobRegistration {
public:
    JobRegistration(HDC dc, PrintProgress* job) : dc_(dc) { t_jobs.Add(dc, job); }
    ~JobRegistration() { t_jobs.Remove(dc_); }
    JobRegistration(const JobRegistration&) = delete;
    JobRegistration& operator=(const JobRegistration&) = delete;

private:
    HDC dc_;
};

INT_PTR CALLBACK ProgressProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(box, DWLP_USER, lParam);
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        if (auto* job = reinterpret_cast<PrintProgress*>(GetWindowLongPtrW(box, DWLP_USER))) job->cancelled = true;
        EnableWindow(GetDlgItem(box, IDCANCEL), FALSE);
        return TRUE;
    }
    return FALSE;
}

// Keeps the progress box responsive while the spooler works.
BOOL CALLBACK AbortProc(HDC dc, int) {
    auto* job = static_cast<PrintProgress*>(t_jobs.Find(dc));
    MSG msg;
    while (!(job && job->cancelled) && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!job || !job->box || !IsDialogMessageW(job->box, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return !(job && job->cancelled);
}

std::wstring ToUtf16(std::u32string_view text) { return Widen(EncodeUtf8(text)); }

// Characters (code points) of `line` that fit into `width` device units.
size_t FitOnLine(HDC dc, std::u32string_view line, int width) {
    if (line.empty()) return 0;
    const std::wstring wide = ToUtf16(line);
    int fitUnits = 0;
    SIZE size{};
    if (!GetTextExtentExPointW(dc, wide.c_str(), static_cast<int>(wide.size()), width, &fitUnits, nullptr, &size))
        return line.size();
    // UTF-16 units back to code points; a surrogate pair counts once.
    size_t points = 0;
    for (int unit = 0; unit < fitUnits; ++unit, ++points)
        if (wide[unit] >= 0xD800 && wide[unit] <= 0xDBFF && unit + 1 < fitUnits) ++unit;
    return points;
}

void ShowPageNumber(HWND box, int page, int pages) {
    if (!box) return;
    const std::string text = FillPlaceholders(LoadTextUtf8(IDS_PRINTING_PAGE), {std::to_string(page), std::to_string(pages)});
    SetDlgItemTextW(box, IDC_PRINTING_PAGE, Widen(text).c_str());
}

PrintOutcome PrintOnDevice(HWND owner, HDC dc, const std::string& utf8Text, const std::wstring& documentName) {
    const int dpiX = GetDeviceCaps(dc, LOGPIXELSX), dpiY = GetDeviceCaps(dc, LOGPIXELSY);
    const int pageWidth = GetDeviceCaps(dc, HORZRES), pageHeight = GetDeviceCaps(dc, VERTRES);
    // Margins of about two centimetres inside the printable area.
    const int marginX = dpiX * 3 / 4, marginY = dpiY * 3 / 4;
    const int width = pageWidth - 2 * marginX, height = pageHeight - 2 * marginY;
    if (width <= 0 || height <= 0) return PrintOutcome::Failed;

    FontHandle font(CreateFontW(-MulDiv(10, dpiY, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                                L"Courier New"));
    HGDIOBJ oldFont = font ? SelectObject(dc, font.get()) : nullptr;
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    const int lineHeight = std::max<int>(1, metrics.tmHeight + metrics.tmExternalLeading);

    const auto lines = BreakIntoPrintLines(DecodeUtf8(utf8Text),
                                           [&](std::u32string_view line) { return FitOnLine(dc, line, width); });
    const auto pages = Paginate(lines.size(), static_cast<size_t>(height / lineHeight));

    PrintProgress progress;
    const JobRegistration registration(dc, &progress);
    EnableWindow(owner, FALSE);
    EnsureCommonControls();
    if (const DLGTEMPLATE* dialog = FindDialogTemplate(IDD_PRINTING))
        progress.box = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialog, owner, ProgressProc,
                                                  reinterpret_cast<LPARAM>(&progress));
    SetAbortProc(dc, AbortProc);

    DOCINFOW doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = documentName.c_str();
    PrintOutcome outcome = PrintOutcome::Printed;
    if (StartDocW(dc, &doc) <= 0) {
        outcome = PrintOutcome::Failed;
    } else {
        for (size_t p = 0; p < pages.size() && outcome == PrintOutcome::Printed; ++p) {
            ShowPageNumber(progress.box, static_cast<int>(p + 1), static_cast<int>(pages.size()));
            AbortProc(dc, 0);
            if (progress.cancelled || StartPage(dc) <= 0) {
                outcome = progress.cancelled ? PrintOutcome::Aborted : PrintOutcome::Failed;
                break;
            }
            int y = marginY;
            for (size_t i = pages[p].first; i < pages[p].last; ++i, y += lineHeight) {
                const std::wstring line = ToUtf16(lines[i]);
                TextOutW(dc, marginX, y, line.c_str(), static_cast<int>(line.size()));
            }
            if (EndPage(dc) <= 0) outcome = progress.cancelled ? PrintOutcome::Aborted : PrintOutcome::Failed;
        }
        if (outcome == PrintOutcome::Printed) EndDoc(dc);
        else AbortDoc(dc);
    }

    EnableWindow(owner, TRUE);
    if (progress.box) DestroyWindow(progress.box);
    if (oldFont) SelectObject(dc, oldFont);
    return outcome;
}

}  // namespace

PrintOutcome PrintPlainText(HWND owner, const std::string& utf8Text, const std::wstring& documentName) {
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
    const BOOL chosen = PrintDlgW(&dialog);
    GlobalMemory devMode(dialog.hDevMode), devNames(dialog.hDevNames);
    DeviceContext dc(dialog.hDC);
    if (!chosen) return CommDlgExtendedError() == 0 ? PrintOutcome::Cancelled : PrintOutcome::Failed;
    if (!dc) return PrintOutcome::Failed;

    const PrintOutcome outcome = PrintOnDevice(owner, dc.get(), utf8Text, documentName);
    if (outcome == PrintOutcome::Failed) ShowTextMessage(owner, IDS_PRINT_JOB_FAILED, MB_OK | MB_ICONERROR);
    return outcome;
}

}  // namespace pagelark

#include "window/print_layout.h"

#include <algorithm>

namespace pagelark {
namespace {

void BreakOneLine(std::u32string_view line, const FitCount& fits, std::vector<std::u32string>& out) {
    while (true) {
        const size_t fit = std::min(fits(line), line.size());
        if (fit >= line.size()) {
            out.emplace_back(line);
            return;
        }
        size_t cut = line.rfind(U' ', fit);
        size_t resume = cut + 1;
        if (cut == std::u32string_view::npos || cut == 0) {
            cut = std::max<size_t>(fit, 1);   // a word wider than the page: break inside it
            resume = cut;
        }
        out.emplace_back(line.substr(0, cut));
        line.remove_prefix(resume);
        if (line.empty()) return;
    }
}

}  // namespace

std::vector<std::u32string> BreakIntoPrintLines(std::u32string_view text, const FitCount& fits) {
    std::vector<std::u32string> lines;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != U'\r' && text[i] != U'\n') continue;
        BreakOneLine(text.substr(start, i - start), fits, lines);
        if (i + 1 < text.size() && text[i] == U'\r' && text[i + 1] == U'\n') ++i;
        start = i + 1;
    }
    return lines;
}

std::vector<PageRange> Paginate(size_t lineCount, size_t linesPerPage) {
    linesPerPage = std::max<size_t>(linesPerPage, 1);
    std::vector<PageRange> pages;
    for (size_t first = 0; first < lineCount; first += linesPerPage)
        pages.push_back({first, std::min(first + linesPerPage, lineCount)});
    if (pages.empty()) pages.push_back({0, 0});
    return pages;
}

}  // namespace pagelark

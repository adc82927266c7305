#pragma once
// Printing the message as plain text: lines broken to the page width, then cut into pages.
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pagelark {

// How many characters from the start of `line` fit on one printed line (the printer's font
// measures them); at least 0, at most line.size().
using FitCount = std::function<size_t(std::u32string_view line)>;

// The text's lines (CR LF, lone CR or lone LF end a line), each broken where it is wider than
// the page: after the last blank that fits, or inside a word that is wider than the page alone.
std::vector<std::u32string> BreakIntoPrintLines(std::u32string_view text, const FitCount& fits);

// Index ranges [first, last) of the lines on each page; one (empty) page for no lines.
struct PageRange {
    size_t first = 0;
    size_t last = 0;
};
std::vector<PageRange> Paginate(size_t lineCount, size_t linesPerPage);

}  // namespace pagelark

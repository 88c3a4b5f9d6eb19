// Report pages compared as a PDF text extractor gives them back: split at form feeds, each page
// its non-empty lines with runs of blanks made one and the ends trimmed, whatever spacing the
// extractor guesses for the fixed-pitch page. The extractor ends every page with a form feed where
// the report's text form puts one between pages, so empty pages are left out.
#pragma once

#include <sstream>
#include <string>
#include <vector>

namespace qm54::test {

using PageLines = std::vector<std::vector<std::string>>;

inline PageLines PageLinesOf(const std::string& text)
{
    PageLines pages(1);
    std::string line;
    const auto endLine = [&] {
        std::istringstream words(line);
        std::string word, joined;
        while (words >> word) joined += (joined.empty() ? "" : " ") + word;
        if (!joined.empty()) pages.back().push_back(joined);
        line.clear();
    };
    for (const char c : text) {
        if (c == '\n' || c == '\f') endLine();
        if (c == '\f') pages.emplace_back();
        if (c != '\n' && c != '\f') line += c;
    }
    endLine();
    PageLines kept;
    for (auto& page : pages)
        if (!page.empty()) kept.push_back(std::move(page));
    return kept;
}

}  // namespace qm54::test

#pragma once
// Text for the terminal: the application's Pascal strings (Mac Roman) as UTF-8, and
// columns aligned by the characters a terminal shows.

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/MacTypes.h"

class UText {
public:
    static std::string FromPString(ConstStr255Param text);
    // Characters shown, counting a UTF-8 sequence once.
    static std::size_t Width(const std::string& text);
    // Rows of cells, each column as wide as its widest cell; `rightAligned` per column.
    static void PrintTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows,
                           const std::vector<bool>& rightAligned);
};

#include "cli/UText.h"

#include <algorithm>
#include <ostream>

#include "platform/MacRoman.h"

std::string UText::FromPString(ConstStr255Param text)
{
    return UTF8FromMacRoman(Str255View(text));
}

std::size_t UText::Width(const std::string& text)
{
    return std::size_t(std::count_if(text.begin(), text.end(), [](char c) { return (UInt8(c) & 0xC0) != 0x80; }));
}

void UText::PrintTable(std::ostream& out, const std::vector<std::vector<std::string>>& rows,
                       const std::vector<bool>& rightAligned)
{
    std::vector<std::size_t> widths(rightAligned.size(), 0);
    for (const auto& row : rows)
        for (std::size_t column = 0; column < row.size() && column < widths.size(); ++column)
            widths[column] = std::max(widths[column], Width(row[column]));
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t column = 0; column < row.size() && column < widths.size(); ++column) {
            const std::string padding(widths[column] - Width(row[column]), ' ');
            if (column != 0)
                line += "  ";
            line += rightAligned[column] ? padding + row[column] : row[column] + padding;
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
    }
}

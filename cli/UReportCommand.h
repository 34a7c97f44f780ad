#pragma once
// "varno-cli report FILE [--json]": a report file as the report window shows it.

#include <iosfwd>
#include <string>

class UReportCommand {
public:
    static int Run(const std::string& path, bool json, std::ostream& out, std::ostream& errors);
};

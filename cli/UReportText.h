#pragma once
// A report as the report window shows it (the summary, then the failures as an
// indented outline), and as JSON for scripts and monitoring.

#include <iosfwd>

class CListStructs;
struct ReportHeaderStruct;

class UReportText {
public:
    // Folder entries without a failure below them, at the log's end, are not shown.
    static void Print(std::ostream& out, const ReportHeaderStruct& header, CListStructs& log);
    // Every entry of the log, with its level, kind and error class.
    static void PrintJSON(std::ostream& out, const ReportHeaderStruct& header, CListStructs& log);
};

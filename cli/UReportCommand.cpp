#include "cli/UReportCommand.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <ostream>
#include <vector>

#include "cli/ExitStatus.h"
#include "cli/UReportText.h"
#include "engine/UReportFile.h"
#include "toolkit/CListStructs.h"

namespace {

const char* Reason(UReportFile::DecodeResult result)
{
    switch (result) {
    case UReportFile::DecodeResult::kNotAReport:
        return "is not a report file";
    case UReportFile::DecodeResult::kUnsupportedVersion:
        return "is a report file of a version this program does not read";
    case UReportFile::DecodeResult::kShortHeader:
        return "is a damaged report file: it ends inside its header";
    case UReportFile::DecodeResult::kBadLog:
        return "is a damaged report file: its list of items cannot be read";
    case UReportFile::DecodeResult::kOK:
        break;
    }
    return "";
}

} // namespace

int UReportCommand::Run(const std::string& path, bool json, std::ostream& out, std::ostream& errors)
{
    std::error_code failure;
    std::ifstream file;
    if (std::filesystem::is_regular_file(path, failure))
        file.open(path, std::ios::binary);
    std::vector<UInt8> bytes;
    if (file.is_open())
        bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    if (!file.is_open() || file.bad()) {
        errors << "varno-cli: cannot read \"" << path << "\"\n";
        return kExitErrors;
    }
    ReportHeaderStruct header;
    const std::unique_ptr<CListStructs> log(UReportFile::NewLog());
    const UReportFile::DecodeResult result = UReportFile::Decode(bytes, &header, log.get());
    if (result != UReportFile::DecodeResult::kOK) {
        errors << "varno-cli: \"" << path << "\" " << Reason(result) << "\n";
        return kExitErrors;
    }
    if (json)
        UReportText::PrintJSON(out, header, *log);
    else
        UReportText::Print(out, header, *log);
    return kExitFinished;
}

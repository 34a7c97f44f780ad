#pragma once
// "varno-cli volumes": the volumes the main window offers, with their sizes and marks.

#include <iosfwd>

class UVolumesCommand {
public:
    static int Run(std::ostream& out);
};

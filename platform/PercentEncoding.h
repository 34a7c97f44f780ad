#pragma once
// Paths in URIs and in the freedesktop trash's records: every byte but letters,
// digits and "/-_.~" as %XX.

#include <string>

std::string PercentEncodedPath(const std::string& path);

// Text conversions of the front end: the core's UTF-8 / UTF-16 codec for the
// terminal and JSON, and file names given as UTF-8.
#pragma once
#include <filesystem>
#include <string>

#include "sim/text/UtfCodec.h"

// A file name given as UTF-8 (the command line's encoding on every system
// here) as a path: wide on Windows, the same bytes elsewhere.
std::filesystem::path PathFromUtf8(const std::string& text);

// What --help prints.
#pragma once

#include <string>

std::string UsageText();

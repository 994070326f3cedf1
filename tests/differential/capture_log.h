// A debug log kept in memory, so that two evaluations' traces can be compared
// line by line.
#pragma once

#include <string>
#include <vector>

// Every message since the last call.
std::vector<std::string> TakeCapturedTrace();

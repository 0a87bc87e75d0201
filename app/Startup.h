// What the entry point checks before it creates the application.
#pragma once

#include <string>

// Empty when a display (or a platform that needs none) is there; otherwise
// the one line telling the user how to get one.
std::string MissingDisplayMessage();

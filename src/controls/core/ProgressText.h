// The count text under the progress bar.
#pragma once

#include <string>

// "text : pos" or "text" with a text; "pos" or "" without one.
std::string ProgressText(const std::string& text, int pos, bool showCount);

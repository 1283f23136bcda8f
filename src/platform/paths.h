#pragma once

#include <string>
#include <string_view>

namespace platform {

// Turns a path built the Windows way ("/HOME/ME/APP\PICTURE\01.GIF", sometimes with two
// backslashes in a row) into one this file system finds: backslashes become '/', repeated
// separators fold into one, and a component missing under its exact name is matched without
// regard to case. A component that matches nothing is kept as written. A drive letter with
// its colon stands for the root.
std::string MapPath(std::string_view windows_path);

}  // namespace platform

// The start-up check that every picture file has exactly the length the program was made for.
#include <cstdio>
#include <string>

#include "frame/data_files.h"
#include "frame/forma_main.h"
#include "frame/module_state.h"
#include "platform/failure.h"
#include "platform/keyboard_hook.h"
#include "platform/paths.h"
#include "platform/runtime.h"

namespace {

// The user sees nothing; whoever started the program learns from the exit status and this
// one line which file stopped it.
[[noreturn]] void end_on_bad_file(const std::string& path, const char* why) {
  std::fprintf(stderr, "colouring-book: data file %s: %s\n", why, platform::MapPath(path).c_str());
  platform::End(1);
}

}  // namespace

void FormaMain::provera_datoteka() {
  for (const data_files::SizedFile& file : data_files::kPictureSizes) {
    const std::string path = putanja_programa + std::string(file.literal);
    std::int32_t length = 0;
    try {
      length = platform::FileLen(path);
    } catch (const platform::RuntimeError&) {
      // The filter ends with the program. A folder too deep for the system is no damage that
      // reinstalling would mend.
      end_on_bad_file(path, platform::NameTooLong(path)
                                ? "has a name too long for the system (move the program to a "
                                  "shorter folder)"
                                : "missing or unreadable");
    }
    if (length != file.size) {
      if (muzika_svira == 1) zaustavi_muziku();
      if (hook_id != 0) platform::UnhookWindowsHookEx(hook_id);
      end_on_bad_file(path, "has the wrong size");
    }
  }
}

#pragma once

#include <cstdint>
#include <string>

#include "platform/window_handle.h"

union SDL_Event;

namespace platform {

constexpr std::int32_t SW_SHOWNORMAL = 1;
constexpr std::int32_t SW_SHOWMINIMIZED = 2;

// SW_SHOWMINIMIZED minimises the window, SW_SHOWNORMAL restores and shows it. Gives 1 when
// the window was visible before, else 0.
std::int32_t ShowWindow(HWND window, std::int32_t command);

// With no verb or "open", hands the address (or file) to the desktop's default handler,
// started on its own and never waited for; when the handler fails, the window is restored
// (see OpenerFailedEvent). The handler's own output goes nowhere; its failure, even after
// the program has ended, is told in one line on stderr. Gives a value above 32 when the
// handler started, 2 when it could not be started, 31 for a verb with no handler. The
// window, parameters and show command play no part.
std::intptr_t ShellExecuteA(HWND window, const char* verb, const char* file, const char* parameters,
                            const char* directory, std::int32_t show);

// The event ShellExecuteA posts when the handler could not open what it was given, and what
// the event loop does with it: the window that asked, still minimised, is shown again.
std::uint32_t OpenerFailedEvent();
void RestoreAfterFailedOpener(HWND window, const SDL_Event& event);

// Starts the program file that the whole path names (through MapPath; a bare name is looked
// for on PATH), with no arguments and no shell, and does not wait for it. Gives its task id;
// a missing or non-executable file fails and nothing is started. The window style is the
// other program's own business.
double Shell(const std::string& path, std::int32_t window_style);

}  // namespace platform

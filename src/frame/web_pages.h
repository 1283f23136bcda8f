#pragma once

#include <string>

#include "platform/window_handle.h"

// The maker's and the product's web pages: local pages that lie beside the program, given as
// "file://" addresses that a browser opens.
std::string maker_page_address();
std::string product_page_address();

// Minimises the window, then opens the page with the desktop's default handler, as the unload
// and the about panel's two buttons do; neither result is looked at.
void minimise_and_open(platform::HWND window, const std::string& address);

#include "web_pages.h"

#include <string_view>

namespace datagen {
namespace {

// Plain pages with their style inside: they are opened from the disk, with no network.
std::vector<std::uint8_t> Page(std::string_view title, std::string_view body) {
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>";
  html += title;
  html +=
      "</title>\n<style>\n"
      "body { font-family: sans-serif; background: #fff7e1; color: #281e3c; margin: 3em; }\n"
      "h1 { color: #ff8c1e; }\n"
      "p { font-size: 1.2em; line-height: 1.5; }\n"
      "</style>\n</head>\n<body>\n<h1>";
  html += title;
  html += "</h1>\n";
  html += body;
  html += "</body>\n</html>\n";
  return {html.begin(), html.end()};
}

}  // namespace

std::vector<NamedFile> MakeWebPages() {
  return {
      {"MAKER.HTML",
       Page("About us",
            "<p>We make friendly programs for children to play, learn and create with.</p>\n"
            "<p>Thank you for colouring with us! We hope you have lots of fun.</p>\n")},
      {"PRODUCT.HTML",
       Page("My Colouring Book",
            "<p>Pick a picture, choose a colour and click inside the picture to fill it.</p>\n"
            "<p>Draw with the pencil, wipe the page clean with the eraser, and print your "
            "picture to put it on the wall.</p>\n"
            "<p>There are twenty-five pictures to colour: animals, houses, cars and more.</p>\n")},
  };
}

}  // namespace datagen

#include "built_in_source.h"

namespace datagen {

std::string BuiltInSource(const std::vector<NamedFile>& pictures) {
  std::string out =
      "// Made by the data generator (tools/datagen) at build time: edit the generator, not "
      "this file.\n"
      "#include <array>\n#include <string_view>\n\n"
      "#include \"frame/design_pictures.h\"\n\n"
      "namespace design_pictures {\nnamespace {\n\n";
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    out += "// " + pictures[i].name + "\n";
    out += "const unsigned char kPicture" + std::to_string(i) + "[] = {";
    const std::vector<std::uint8_t>& bytes = pictures[i].bytes;
    for (std::size_t b = 0; b < bytes.size(); ++b) {
      if (b % 24 == 0) out += "\n";
      out += std::to_string(bytes[b]);
      out += ',';
    }
    out += "\n};\n\n";
  }
  out +=
      "struct Entry {\n  std::string_view name;\n  std::span<const unsigned char> bytes;\n};\n\n"
      "const std::array<Entry, " +
      std::to_string(pictures.size()) + "> kEntries = {{\n";
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    out += "    {\"" + pictures[i].name + "\", kPicture" + std::to_string(i) + "},\n";
  }
  out +=
      "}};\n\n}  // namespace\n\n"
      "std::span<const unsigned char> Get(std::string_view name) {\n"
      "  for (const Entry& entry : kEntries) {\n"
      "    if (entry.name == name) return entry.bytes;\n"
      "  }\n"
      "  return {};\n"
      "}\n\n"
      "}  // namespace design_pictures\n";
  return out;
}

}  // namespace datagen

#include "installation.h"

#include <stdexcept>

#include "processes.h"

namespace e2e {

Installation::Installation(const fs::path& prefix) : prefix_(prefix) {
  const test_support::Outcome install = test_support::RunTool(
      {E2E_CMAKE_COMMAND, "--install", E2E_BUILD_DIR, "--prefix", prefix.string()}, {},
      std::chrono::seconds(60));
  if (install.status != 0) throw std::runtime_error("install failed:\n" + install.out);
}

Installation Installation::FromPackage(const fs::path& work) {
  const fs::path packages = work / "packages";
  const test_support::Outcome made = test_support::RunTool(
      {E2E_CPACK_COMMAND, "--config", std::string(E2E_BUILD_DIR) + "/CPackConfig.cmake", "-G",
       "DEB", "-B", packages.string()},
      {}, std::chrono::seconds(180));
  if (made.status != 0) throw std::runtime_error("cpack failed:\n" + made.out);
  Installation installation;
  for (const auto& entry : fs::directory_iterator(packages)) {
    if (entry.path().extension() == ".deb") installation.package_ = entry.path();
  }
  if (installation.package_.empty())
    throw std::runtime_error("cpack made no package:\n" + made.out);
  const fs::path root = work / "root";
  const test_support::Outcome unpacked =
      test_support::RunTool({"dpkg-deb", "-x", installation.package_.string(), root.string()}, {},
                            std::chrono::seconds(60));
  if (unpacked.status != 0) throw std::runtime_error("dpkg-deb -x failed:\n" + unpacked.out);
  installation.prefix_ = root / "usr";
  return installation;
}

}  // namespace e2e

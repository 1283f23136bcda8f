#include "installation.h"

#include <stdexcept>

#include "processes.h"

namespace e2e {
namespace {

test_support::Environment Recording(const fs::path& record) {
  return {{"COLOURING_INSTALL_RECORD", record.string()}};
}

test_support::Outcome Install(const fs::path& prefix, const fs::path& record) {
  return test_support::RunTool(
      {E2E_CMAKE_COMMAND, "--install", E2E_BUILD_DIR, "--prefix", prefix.string()},
      Recording(record), std::chrono::seconds(60));
}

}  // namespace

Installation::Installation(const fs::path& prefix, const fs::path& record)
    : prefix_(prefix), record_(record) {
  const test_support::Outcome install = Install(prefix, record);
  if (install.status != 0) throw std::runtime_error("install failed:\n" + install.out);
}

Installation Installation::Attempt(const fs::path& prefix, std::string& failure) {
  Installation installation;
  installation.prefix_ = prefix;
  installation.record_ = RecordBeside(prefix);
  const test_support::Outcome install = Install(prefix, installation.record_);
  failure = install.status != 0 ? "install failed:\n" + install.out : "";
  return installation;
}

std::string Installation::Undo() const {
  const test_support::Outcome undone =
      test_support::RunTool({E2E_CMAKE_COMMAND, "--build", E2E_BUILD_DIR, "--target", "uninstall"},
                            Recording(record_), std::chrono::seconds(60));
  if (undone.status != 0) throw std::runtime_error("uninstall failed:\n" + undone.out);
  return undone.out;
}

Installation Installation::FromPackage(const fs::path& work, const fs::path& record) {
  const fs::path packages = work / "packages";
  const test_support::Outcome made = test_support::RunTool(
      {E2E_CPACK_COMMAND, "--config", std::string(E2E_BUILD_DIR) + "/CPackConfig.cmake", "-G",
       "DEB", "-B", packages.string()},
      Recording(record), std::chrono::seconds(180));
  if (made.status != 0) throw std::runtime_error("cpack failed:\n" + made.out);
  Installation installation;
  installation.record_ = record;
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

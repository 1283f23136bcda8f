#include "xorg_session.h"

#include <unistd.h>

#include <filesystem>

#include "processes.h"

namespace test_support {
namespace {

constexpr const char* kDummyDriver = "/usr/lib/xorg/modules/drivers/dummy_drv.so";

// No input devices of the machine's: the tests type and click through XTEST. The video
// memory holds the largest mode's frame buffer.
constexpr const char* kConfiguration = R"(Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 65536
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0 - 1000.0
  VertRefresh 5.0 - 200.0
  Modeline "1920x1080" 148.50 1920 2008 2052 2200 1080 1084 1089 1125 +hsync +vsync
  Modeline "1280x1024" 108.00 1280 1328 1440 1688 1024 1025 1028 1066 +hsync +vsync
  Modeline "1024x768" 65.00 1024 1048 1184 1344 768 771 777 806 -hsync -vsync
EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "1920x1080" "1280x1024" "1024x768"
    Virtual 1920 1080
  EndSubSection
EndSection
)";

}  // namespace

bool XorgSession::Installed() {
  return ::geteuid() == 0 && OnPath("Xorg") && std::filesystem::exists(kDummyDriver) &&
         XvfbSession::Installed();
}

std::string XorgSession::Start() {
  const std::string config = folder_.Write("xorg.conf", kConfiguration);
  std::filesystem::create_directories(folder_.path() / "xorg.conf.d");
  // Sharing the console's virtual terminal keeps a machine with a screen on the one it shows.
  return StartWith({"Xorg", "-noreset", "-sharevts", "-novtswitch", "-nolisten", "tcp", "-config",
                    config, "-configdir", folder_ / "xorg.conf.d", "-logfile", folder_ / "xorg.log",
                    "+extension", "RANDR"},
                   "1920x1080 with the dummy driver");
}

std::string XorgSession::Log() const { return ReadAll(folder_.path() / "xorg.log"); }

}  // namespace test_support

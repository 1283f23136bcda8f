#pragma once

#include <memory>
#include <string>

#include "platform/display.h"
#include "platform/music.h"

namespace platform {

// Makes the music and display objects.
class DirectX7 {
 public:
  std::shared_ptr<DirectMusicLoader> DirectMusicLoaderCreate();
  std::shared_ptr<DirectMusicPerformance> DirectMusicPerformanceCreate();
  // Any driver name gives the one display there is.
  std::shared_ptr<DirectDraw7> DirectDrawCreate(const std::string& driver_guid);
};

}  // namespace platform

#include "platform/directx7.h"

namespace platform {

std::shared_ptr<DirectMusicLoader> DirectX7::DirectMusicLoaderCreate() {
  return std::make_shared<DirectMusicLoader>();
}

std::shared_ptr<DirectMusicPerformance> DirectX7::DirectMusicPerformanceCreate() {
  return std::make_shared<DirectMusicPerformance>();
}

std::shared_ptr<DirectDraw7> DirectX7::DirectDrawCreate(const std::string&) {
  return std::make_shared<DirectDraw7>();
}

}  // namespace platform

#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "platform/picture.h"

namespace platform {

// Turns checked bytes into a picture, or raises RuntimeError.
using PictureDecoder =
    std::function<Picture(std::span<const unsigned char> bytes, std::string name)>;

// Decodes the bytes just read from `path`, unless they are exactly the bytes last decoded for
// that path: then the picture made from them then is given again. Files are still read at
// every use, so a file changed, damaged or removed acts at once; only the decoding of bytes
// already seen is saved. Bytes that fail to decode leave nothing kept for the path, so they
// fail again the next time. At most one picture is kept per path, and only as many as a
// fixed budget holds.
Picture DecodeUnlessSeen(const std::string& path, std::vector<unsigned char> bytes,
                         const PictureDecoder& decode);

}  // namespace platform

// Resource ids of the program's images, looked up by image number.
#pragma once

namespace astro {

constexpr int kProgramIcon = 226;
constexpr int kWindowPicture = 195;

// Image 0: the tray icon, image 1: the window icon, image 2: the window picture.
constexpr int ImageId(int image) {
  return image == 2 ? kWindowPicture : kProgramIcon;
}

}  // namespace astro

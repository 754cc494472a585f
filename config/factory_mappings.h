// The five keyboard mappings the driver installs when they are missing: keystroke
// recordings, in the stored form, that type commands of four CAD applications.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace astro {

constexpr int kButtonSlots = 12;

struct FactoryMapping {
  std::string name;
  // The stored value of slots 1 to 12 (index 0 to 11); empty: unassigned.
  std::array<std::vector<std::uint8_t>, kButtonSlots> slots;
};

// In the order they are installed: "Empty", "ProEngineer V.18", "ProEngineer
// V.20", "I-DEAS MS", "Mechanical Desktop 2.0/3.0".
const std::vector<FactoryMapping>& FactoryMappings();

// The function a factory recording gives its button in its application (for
// example "Repaint View" for the text "[Alt]vr"), by the text the recording
// types; empty for any other text.
std::string FactoryDescription(const std::string& typedText);

}  // namespace astro

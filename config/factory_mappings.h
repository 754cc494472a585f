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

// The readable name of a known sequence of device button 1..12: the function a
// factory recording gives that button in its application (for example "Repaint
// View" for "[Alt]vr" on button 1), by the text the recording types, looked up in
// the order of the factory mappings. Empty when the text is not one of the
// button's known sequences.
std::string KnownSequenceName(int button, const std::string& typedText);

}  // namespace astro

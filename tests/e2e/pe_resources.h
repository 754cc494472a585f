// Reads the resources of a Windows program image (PE32 or PE32+) on any host:
// the resource tree of its .rsrc data, and the texts of its menu and dialog
// templates, so that a test can compare what the built program carries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

constexpr int kMenuResource = 4;       // RT_MENU
constexpr int kDialogResource = 5;     // RT_DIALOG
constexpr int kManifestResource = 24;  // RT_MANIFEST

// The whole file's bytes (empty when it cannot be read).
std::string ReadWholeFile(const std::string& path);

// One resource with a numeric type and id, in one language: its bytes.
struct PeResource {
  int type = 0;
  int id = 0;
  int language = 0;
  std::string data;
};

// The resources of the image with numeric type and id (named ones are left
// out). Empty with a reason in error when the image cannot be read.
std::vector<PeResource> ReadPeResources(const std::string& imageBytes, std::string* error);

// One text of a template: a menu item with its command id (0 for a popup), the
// dialog's caption (item kCaptionItem) or a control with its id (-1 for none).
constexpr int kCaptionItem = 0x10000;
struct TemplateText {
  int item = 0;
  std::u16string text;
};

// The texts of a DIALOG or DIALOGEX template: the caption, then every control
// in template order (a control given by a resource ordinal has the empty text).
// Empty with a reason in error when the template is cut short.
std::vector<TemplateText> DialogTexts(const std::string& resource, std::string* error);

// The texts of a MENU or MENUEX template, every item in template order, the
// items of a popup right after it.
std::vector<TemplateText> MenuTexts(const std::string& resource, std::string* error);

// The text in Windows-1252; false in ok when a character has no byte there.
std::string ToWindows1252(const std::u16string& text, bool* ok);

}  // namespace e2e

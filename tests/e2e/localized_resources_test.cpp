// The French, Spanish and Italian menus and dialogs as the built program carries
// them: every caption, menu item and control text, read from the resources of
// astrodriver.exe, turned into Windows-1252 and compared byte for byte with
// tests/data/localized_resources.txt. An encoding slip, a text cut short or a
// text of another language in the program shows here.
#include <gmock/gmock.h>

#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "tests/e2e/harness_paths.h"
#include "tests/e2e/pe_resources.h"

namespace e2e {
namespace {

using ResourceKey = std::pair<int, int>;  // type, id

// The menus and dialogs that exist once per language, for French, Spanish and
// Italian: the main menu; password prompt, new password, security, keyboard
// mapping, key capture and target application.
const std::set<ResourceKey> kLocalizedResources = {
    {kMenuResource, 169},   {kMenuResource, 116},   {kMenuResource, 171},   {kDialogResource, 152},
    {kDialogResource, 148}, {kDialogResource, 160}, {kDialogResource, 140}, {kDialogResource, 144},
    {kDialogResource, 165}, {kDialogResource, 125}, {kDialogResource, 149}, {kDialogResource, 124},
    {kDialogResource, 142}, {kDialogResource, 145}, {kDialogResource, 118}, {kDialogResource, 154},
    {kDialogResource, 150}, {kDialogResource, 162}, {kDialogResource, 104}, {kDialogResource, 146},
    {kDialogResource, 167}, {kDialogResource, 177}, {kDialogResource, 178}, {kDialogResource, 179}};

// A text in the data file's form: printable ASCII as it is, \\ and \" for the
// backslash and the quote, \xNN for every other byte.
std::string Escaped(const std::string& bytes) {
  std::string text;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\\' || c == '"') {
      text += '\\';
      text += c;
    } else if (byte >= 0x20 && byte <= 0x7E) {
      text += c;
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      text += hex;
    }
  }
  return text;
}

// One text as a line of the comparison: the item, then the escaped text.
std::string Line(int item, const std::string& bytes) {
  return (item == kCaptionItem ? std::string("caption") : std::to_string(item)) + " \"" +
         Escaped(bytes) + "\"";
}

// Reads a quoted text of the data file at text[at] (the opening quote) into its
// bytes; false when it is malformed.
bool Unescape(const std::string& text, std::size_t at, std::string* bytes) {
  if (at >= text.size() || text[at] != '"' || text.back() != '"' || text.size() - at < 2) {
    return false;
  }
  const std::string inner = text.substr(at + 1, text.size() - at - 2);
  for (std::size_t i = 0; i < inner.size(); ++i) {
    if (inner[i] != '\\') {
      if (inner[i] == '"') return false;
      bytes->push_back(inner[i]);
    } else if (i + 1 < inner.size() && (inner[i + 1] == '\\' || inner[i + 1] == '"')) {
      bytes->push_back(inner[++i]);
    } else if (i + 3 < inner.size() && inner[i + 1] == 'x' &&
               std::isxdigit(static_cast<unsigned char>(inner[i + 2])) &&
               std::isxdigit(static_cast<unsigned char>(inner[i + 3]))) {
      bytes->push_back(static_cast<char>(std::stoi(inner.substr(i + 2, 2), nullptr, 16)));
      i += 3;
    } else {
      return false;
    }
  }
  return true;
}

// The data file: per resource, its lines in template order.
std::map<ResourceKey, std::vector<std::string>> ReadExpected(const std::string& path,
                                                             std::string* error) {
  std::map<ResourceKey, std::vector<std::string>> expected;
  std::ifstream file(path);
  if (!file) *error = "cannot read " + path;
  std::string line;
  for (int number = 1; std::getline(file, line); ++number) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream words(line);
    std::string kind, item;
    int id = 0;
    std::string bytes;
    const bool known = words >> kind >> id >> item && (kind == "menu" || kind == "dialog");
    const std::size_t quote = line.find('"');
    if (!known || quote == std::string::npos || !Unescape(line, quote, &bytes)) {
      *error = path + ":" + std::to_string(number) + ": not understood: " + line;
      return {};
    }
    const int type = kind == "menu" ? kMenuResource : kDialogResource;
    const int itemNumber = item == "caption" ? kCaptionItem : std::stoi(item);
    expected[{type, id}].push_back(Line(itemNumber, bytes));
  }
  return expected;
}

TEST(LocalizedResourcesTest, FrenchSpanishAndItalianTextsAreTheExpectedBytes) {
  const std::string program = WindowsProgram("astrodriver.exe");
  ASSERT_TRUE(FileExists(program)) << program << " is missing: build the Windows programs first";
  std::string error;
  const std::vector<PeResource> resources = ReadPeResources(ReadWholeFile(program), &error);
  ASSERT_EQ(error, "") << program;
  const auto expected =
      ReadExpected(std::string(ASTRO_TEST_DATA_DIR) + "/localized_resources.txt", &error);
  ASSERT_EQ(error, "");

  std::set<ResourceKey> listed;
  for (const auto& entry : expected) listed.insert(entry.first);
  EXPECT_EQ(listed, kLocalizedResources) << "the data file lists other resources";

  for (const ResourceKey& key : kLocalizedResources) {
    const char* kind = key.first == kMenuResource ? "menu " : "dialog ";
    std::vector<const PeResource*> found;
    for (const PeResource& resource : resources) {
      if (resource.type == key.first && resource.id == key.second) found.push_back(&resource);
    }
    ASSERT_EQ(found.size(), 1u) << kind << key.second << " is not in the program once";
    const std::vector<TemplateText> texts = key.first == kMenuResource
                                                ? MenuTexts(found[0]->data, &error)
                                                : DialogTexts(found[0]->data, &error);
    EXPECT_EQ(error, "") << kind << key.second;
    std::vector<std::string> lines;
    for (const TemplateText& text : texts) {
      bool ok = false;
      lines.push_back(Line(text.item, ToWindows1252(text.text, &ok)));
      EXPECT_TRUE(ok) << kind << key.second << ": not a Windows-1252 text: " << lines.back();
    }
    const auto wanted = expected.find(key);
    EXPECT_EQ(lines, wanted != expected.end() ? wanted->second : std::vector<std::string>())
        << kind << key.second;
  }
}

// Templates the build does not make (extended dialogs and menus, a font block,
// resource ordinals, creation data, popups), written out by hand; each menu text
// has an odd length, so that the padding after it counts.
class TemplateBytes {
 public:
  TemplateBytes& U8(unsigned value) {
    bytes_.push_back(static_cast<char>(value & 0xFF));
    return *this;
  }
  TemplateBytes& U16(unsigned value) { return U8(value).U8(value >> 8); }
  TemplateBytes& U32(unsigned value) { return U16(value).U16(value >> 16); }
  TemplateBytes& Text(const std::u16string& text) {
    for (const char16_t c : text) U16(c);
    return U16(0);
  }
  TemplateBytes& Align() {
    while (bytes_.size() % 4 != 0) U8(0);
    return *this;
  }
  const std::string& bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

TEST(LocalizedResourcesTest, ReaderTakesExtendedTemplatesAndRefusesCutOnes) {
  TemplateBytes dialog;
  dialog.U16(1).U16(0xFFFF).U32(0).U32(0).U32(0x80C800C0u).U16(2);  // DS_SETFONT among the style
  dialog.U16(0).U16(0).U16(200).U16(60).U16(0).U16(0).Text(u"Titre \u00E9t\u00E9");
  dialog.U16(8).U16(400).U8(0).U8(0).Text(u"MS Shell Dlg").Align();
  dialog.U32(0).U32(0).U32(0x50000000u).U16(7).U16(7).U16(50).U16(8).U32(0xFFFFFFFFu);
  dialog.U16(0xFFFF).U16(0x0082).Text(u"Nom\u00A0:").U16(4).U32(0x12345678u).Align();
  dialog.U32(0).U32(0).U32(0x50010000u).U16(7).U16(18).U16(50).U16(12).U32(1031);
  dialog.Text(u"Edit").U16(0xFFFF).U16(0x0064).U16(0);
  std::string error;
  std::vector<TemplateText> texts = DialogTexts(dialog.bytes(), &error);
  EXPECT_EQ(error, "");
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].item, kCaptionItem);
  EXPECT_EQ(texts[0].text, u"Titre \u00E9t\u00E9");
  EXPECT_EQ(texts[1].item, -1);
  EXPECT_EQ(texts[1].text, u"Nom\u00A0:");
  EXPECT_EQ(texts[2].item, 1031);
  EXPECT_EQ(texts[2].text, u"");
  EXPECT_TRUE(DialogTexts(dialog.bytes().substr(0, dialog.bytes().size() - 3), &error).empty());
  EXPECT_NE(error, "");

  TemplateBytes menu;
  menu.U16(1).U16(4).U32(0);
  menu.U32(0).U32(0).U32(0).U16(0x01).Text(u"&Outils").Align().U32(0);
  menu.U32(0).U32(0).U32(109).U16(0x80).Text(u"&Fermer").Align();
  menu.U32(0).U32(0).U32(111).U16(0x80).Text(u"&Aide \u20AC").Align();
  error.clear();
  texts = MenuTexts(menu.bytes(), &error);
  EXPECT_EQ(error, "");
  ASSERT_EQ(texts.size(), 3u);
  EXPECT_EQ(texts[0].item, 0);
  EXPECT_EQ(texts[0].text, u"&Outils");
  EXPECT_EQ(texts[1].item, 109);
  EXPECT_EQ(texts[1].text, u"&Fermer");
  EXPECT_EQ(texts[2].item, 111);
  bool ok = false;
  EXPECT_EQ(ToWindows1252(texts[2].text, &ok), "&Aide \x80");
  EXPECT_TRUE(ok);
  EXPECT_EQ(ToWindows1252(u"\u0100", &ok), "?");
  EXPECT_FALSE(ok);
  EXPECT_TRUE(MenuTexts(menu.bytes().substr(0, 30), &error).empty());
  EXPECT_NE(error, "");

  error.clear();
  EXPECT_TRUE(ReadPeResources("MZ", &error).empty());
  EXPECT_NE(error, "");
}

}  // namespace
}  // namespace e2e

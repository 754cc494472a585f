#include "tests/e2e/pe_resources.h"

#include <cstddef>
#include <fstream>
#include <sstream>
#include <utility>

namespace e2e {

std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}
namespace {

// Little-endian reads from a byte string; a read past the end sets failed and
// gives 0.
class Bytes {
 public:
  explicit Bytes(const std::string& bytes) : bytes_(bytes) {}

  bool failed() const { return failed_; }
  std::size_t size() const { return bytes_.size(); }

  std::uint32_t Read(std::size_t at, int width) {
    if (at > bytes_.size() || static_cast<std::size_t>(width) > bytes_.size() - at) {
      failed_ = true;
      return 0;
    }
    std::uint32_t value = 0;
    for (int i = width - 1; i >= 0; --i) {
      value = value << 8 | static_cast<unsigned char>(bytes_[at + static_cast<std::size_t>(i)]);
    }
    return value;
  }
  std::uint32_t U16(std::size_t at) { return Read(at, 2); }
  std::uint32_t U32(std::size_t at) { return Read(at, 4); }
  std::string Slice(std::size_t at, std::size_t count) {
    if (at > bytes_.size() || count > bytes_.size() - at) {
      failed_ = true;
      return std::string();
    }
    return bytes_.substr(at, count);
  }
  void Fail() { failed_ = true; }

 private:
  const std::string& bytes_;
  bool failed_ = false;
};

struct Section {
  std::uint32_t address = 0;  // relative to the image base
  std::uint32_t size = 0;
  std::uint32_t fileOffset = 0;
};

constexpr std::uint32_t kSubdirectory = 0x80000000u;
constexpr std::uint32_t kNamedEntry = 0x80000000u;

// Walks the three levels of the resource tree (type, id, language) whose root
// directory lies at fileBase in the image; the tree's offsets count from there.
class ResourceTree {
 public:
  ResourceTree(Bytes& image, std::size_t fileBase, const std::vector<Section>& sections)
      : image_(image), fileBase_(fileBase), sections_(sections) {}

  void Walk(std::uint32_t directory, int level, PeResource path, std::vector<PeResource>& found) {
    if (level > 2 || ++visited_ > 10000) {
      image_.Fail();  // a loop or a fourth level
      return;
    }
    const std::size_t at = fileBase_ + directory;
    const std::uint32_t entries = image_.U16(at + 12) + image_.U16(at + 14);
    for (std::uint32_t i = 0; i < entries && !image_.failed(); ++i) {
      const std::size_t entry = at + 16 + 8 * static_cast<std::size_t>(i);
      const std::uint32_t name = image_.U32(entry);
      const std::uint32_t target = image_.U32(entry + 4);
      if ((name & kNamedEntry) != 0 && level < 2) continue;
      const int number = static_cast<int>(name & 0xFFFFu);
      (level == 0 ? path.type : level == 1 ? path.id : path.language) = number;
      if ((target & kSubdirectory) != 0) {
        Walk(target & ~kSubdirectory, level + 1, path, found);
      } else if (level == 2) {
        found.push_back(Leaf(target, path));
      }
    }
  }

 private:
  PeResource Leaf(std::uint32_t entry, PeResource resource) {
    const std::uint32_t address = image_.U32(fileBase_ + entry);
    const std::uint32_t size = image_.U32(fileBase_ + entry + 4);
    for (const Section& section : sections_) {
      if (address < section.address || address - section.address >= section.size) continue;
      resource.data = image_.Slice(section.fileOffset + (address - section.address), size);
      return resource;
    }
    image_.Fail();  // data outside every section
    return resource;
  }

  Bytes& image_;
  std::size_t fileBase_;
  const std::vector<Section>& sections_;
  int visited_ = 0;
};

// A template's reader: 16-bit units, strings and ordinals, alignment to the
// template's start.
class TemplateReader {
 public:
  explicit TemplateReader(const std::string& resource) : bytes_(resource) {}

  bool failed() const { return bytes_.failed(); }
  void Skip(std::size_t count) {
    at_ += count;
    if (at_ > bytes_.size()) bytes_.Fail();
  }
  void AlignToFour() { at_ = (at_ + 3) & ~static_cast<std::size_t>(3); }
  std::uint32_t U16() { return Next(2); }
  std::uint32_t U32() { return Next(4); }
  std::uint32_t Peek16(std::size_t ahead = 0) { return bytes_.U16(at_ + ahead); }

  std::u16string String() {
    std::u16string text;
    for (std::uint32_t unit = U16(); unit != 0 && !failed(); unit = U16()) {
      text.push_back(static_cast<char16_t>(unit));
    }
    return text;
  }
  // A string or an ordinal (0xFFFF and a number, or a lone 0 for none); an
  // ordinal reads as the empty text.
  std::u16string StringOrOrdinal() {
    if (Peek16() == 0xFFFF) {
      Skip(4);
      return std::u16string();
    }
    return String();
  }

 private:
  std::uint32_t Next(int width) {
    const std::uint32_t value = bytes_.Read(at_, width);
    at_ += static_cast<std::size_t>(width);
    return value;
  }

  Bytes bytes_;
  std::size_t at_ = 0;
};

constexpr std::uint32_t kSetFont = 0x40;         // DS_SETFONT
constexpr std::uint32_t kPopup = 0x10;           // MF_POPUP
constexpr std::uint32_t kLastItem = 0x80;        // MF_END
constexpr std::uint32_t kExPopup = 0x01;         // MENUEX: the item opens a popup
constexpr std::uint32_t kExLastItem = 0x80;      // MENUEX: last item of its level
constexpr std::uint32_t kExtendedMark = 0xFFFF;  // DIALOGEX signature

void MenuLevel(TemplateReader& reader, std::vector<TemplateText>& texts, int depth) {
  for (bool last = false; !last && !reader.failed() && depth < 16;) {
    const std::uint32_t options = reader.U16();
    last = (options & kLastItem) != 0;
    const bool popup = (options & kPopup) != 0;
    const int id = popup ? 0 : static_cast<int>(reader.U16());
    texts.push_back({id, reader.String()});
    if (popup) MenuLevel(reader, texts, depth + 1);
  }
}

void MenuExLevel(TemplateReader& reader, std::vector<TemplateText>& texts, int depth) {
  for (bool last = false; !last && !reader.failed() && depth < 16;) {
    reader.Skip(8);  // type, state
    const int id = static_cast<int>(reader.U32());
    const std::uint32_t flags = reader.U16();
    last = (flags & kExLastItem) != 0;
    texts.push_back({id, reader.String()});
    reader.AlignToFour();
    if ((flags & kExPopup) != 0) {
      reader.Skip(4);  // help id
      MenuExLevel(reader, texts, depth + 1);
    }
  }
}

// What was read, or nothing and the reason when the bytes ran out.
template <typename Item>
std::vector<Item> Finish(bool failed, std::vector<Item> items, const char* reason,
                         std::string* error) {
  if (!failed) return items;
  *error = reason;
  return {};
}

}  // namespace

std::vector<PeResource> ReadPeResources(const std::string& imageBytes, std::string* error) {
  Bytes image(imageBytes);
  std::vector<PeResource> resources;
  if (image.U16(0) != 0x5A4D) {
    *error = "no MZ header";
    return resources;
  }
  const std::size_t pe = image.U32(0x3C);
  if (image.U32(pe) != 0x00004550) {
    *error = "no PE signature";
    return resources;
  }
  const std::uint32_t sectionCount = image.U16(pe + 6);
  const std::size_t optional = pe + 24;
  const std::uint32_t magic = image.U16(optional);
  if (magic != 0x10B && magic != 0x20B) {
    *error = "unknown optional header";
    return resources;
  }
  // Data directory 2 is the resource table.
  const std::size_t directories = optional + (magic == 0x20B ? 112 : 96);
  const std::size_t directoryCount = image.U32(directories - 4);
  if (directoryCount < 3) {
    *error = "no resource directory";
    return resources;
  }
  const std::uint32_t resourceAddress = image.U32(directories + 2 * 8);

  std::vector<Section> sections;
  const std::size_t table = optional + image.U16(pe + 20);
  for (std::uint32_t i = 0; i < sectionCount; ++i) {
    const std::size_t header = table + 40 * static_cast<std::size_t>(i);
    Section section;
    section.size = image.U32(header + 8);
    section.address = image.U32(header + 12);
    section.fileOffset = image.U32(header + 20);
    const std::uint32_t rawSize = image.U32(header + 16);
    if (rawSize < section.size) section.size = rawSize;  // the rest is zero-filled, not in the file
    sections.push_back(section);
  }
  std::size_t resourceBase = 0;
  bool placed = false;
  for (const Section& section : sections) {
    if (resourceAddress >= section.address && resourceAddress - section.address < section.size) {
      resourceBase = section.fileOffset + (resourceAddress - section.address);
      placed = true;
    }
  }
  if (image.failed() || resourceAddress == 0 || !placed) {
    *error = "no resource data in any section";
    return resources;
  }
  ResourceTree tree(image, resourceBase, sections);
  tree.Walk(0, 0, PeResource{}, resources);
  return Finish(image.failed(), std::move(resources), "the resource tree runs out of the image",
                error);
}

std::vector<TemplateText> DialogTexts(const std::string& resource, std::string* error) {
  TemplateReader reader(resource);
  std::vector<TemplateText> texts;
  const bool extended = reader.Peek16() == 1 && reader.Peek16(2) == kExtendedMark;
  std::uint32_t style = 0;
  std::uint32_t count = 0;
  if (extended) {
    reader.Skip(12);  // version, signature, help id, extended style
    style = reader.U32();
    count = reader.U16();
  } else {
    style = reader.U32();
    reader.Skip(4);  // extended style
    count = reader.U16();
  }
  reader.Skip(8);            // x, y, width, height
  reader.StringOrOrdinal();  // menu
  reader.StringOrOrdinal();  // class
  texts.push_back({kCaptionItem, reader.String()});
  if ((style & kSetFont) != 0) {    // also part of DS_SHELLFONT
    reader.Skip(extended ? 6 : 2);  // point size; weight, italic and character set
    reader.String();                // typeface
  }
  for (std::uint32_t i = 0; i < count && !reader.failed(); ++i) {
    reader.AlignToFour();
    int id = 0;
    if (extended) {
      reader.Skip(20);  // help id, extended style, style, x, y, width, height
      id = static_cast<int>(static_cast<std::int32_t>(reader.U32()));
    } else {
      reader.Skip(16);  // style, extended style, x, y, width, height
      id = static_cast<std::int16_t>(reader.U16());
    }
    reader.StringOrOrdinal();  // class
    const std::u16string text = reader.StringOrOrdinal();
    reader.Skip(reader.U16());  // creation data
    texts.push_back({id, text});
  }
  return Finish(reader.failed(), std::move(texts), "the dialog template is cut short", error);
}

std::vector<TemplateText> MenuTexts(const std::string& resource, std::string* error) {
  TemplateReader reader(resource);
  std::vector<TemplateText> texts;
  const std::uint32_t version = reader.U16();
  if (version > 1) {
    *error = "unknown menu template version";
    return texts;
  }
  reader.Skip(reader.U16());  // the header's rest: none, or MENUEX's help id
  if (version == 0) {
    MenuLevel(reader, texts, 0);
  } else {
    MenuExLevel(reader, texts, 0);
  }
  return Finish(reader.failed(), std::move(texts), "the menu template is cut short", error);
}

std::string ToWindows1252(const std::u16string& text, bool* ok) {
  // The characters of bytes 0x80..0x9F; 0 where the code page has none.
  static const char16_t kHigh[32] = {
      0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  std::string bytes;
  *ok = true;
  for (const char16_t c : text) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      bytes.push_back(static_cast<char>(c));
      continue;
    }
    int found = -1;
    for (int i = 0; i < 32 && c != 0; ++i) {
      if (kHigh[i] == c) found = i;
    }
    if (found < 0) *ok = false;
    bytes.push_back(found < 0 ? '?' : static_cast<char>(0x80 + found));
  }
  return bytes;
}

}  // namespace e2e

// The in-memory registry keeps the system's byte-level rules that the stores rely
// on: exact lengths, failing queries into small buffers, keys that must exist.
#include "config/memory_registry.h"

#include <gtest/gtest.h>

#include <cstring>

namespace astro {
namespace {

constexpr const char* kKey = "Software\\Brightfold\\Dimensa\\Astrolab";

TEST(MemoryRegistryTest, MissingKeyCannotBeOpenedButCanBeCreated) {
  MemoryRegistry registry;
  EXPECT_EQ(registry.OpenKey(kKey), nullptr);
  bool created = false;
  ASSERT_NE(registry.CreateKey(kKey, &created), nullptr);
  EXPECT_TRUE(created);
  EXPECT_TRUE(registry.HasKey("Software\\Brightfold"));  // parents come with it
  EXPECT_NE(registry.OpenKey(kKey), nullptr);
  ASSERT_NE(registry.CreateKey(kKey, &created), nullptr);
  EXPECT_FALSE(created);
  // Names compare without regard to case.
  EXPECT_NE(registry.OpenKey("SOFTWARE\\brightfold\\DIMENSA\\astrolab"), nullptr);
  EXPECT_EQ(registry.OpenKey("Software\\\\Brightfold"), nullptr);
}

TEST(MemoryRegistryTest, TextIsStoredWithExactlyTheLengthGiven) {
  MemoryRegistry registry;
  auto key = registry.CreateKey(kKey, nullptr);
  ASSERT_TRUE(key->Set("Exit", ValueType::kString, "12", 2));
  EXPECT_EQ(registry.Bytes(kKey, "Exit"), std::string("12"));
  ASSERT_TRUE(key->Set("Counted", ValueType::kString, "7", 2));  // the terminator counted
  EXPECT_EQ(registry.Bytes(kKey, "Counted"), std::string("7\0", 2));
  EXPECT_EQ(registry.WriteCount(), 2);

  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  std::uint32_t length = 0;
  ASSERT_TRUE(key->Query("EXIT", buffer, sizeof buffer, &length));
  EXPECT_EQ(length, 2u);
  EXPECT_EQ(std::string(buffer, 3), "12x");  // no terminator added
}

TEST(MemoryRegistryTest, QueryIntoTooSmallBufferFails) {
  MemoryRegistry registry;
  registry.Put(kKey, "Password", std::string(21, 'a'));
  auto key = registry.OpenKey(kKey);
  char buffer[20] = {};
  std::uint32_t length = 0;
  EXPECT_FALSE(key->Query("Password", buffer, sizeof buffer, &length));
  EXPECT_EQ(length, 21u);
  registry.Put(kKey, "Password", std::string(20, 'a'));
  EXPECT_TRUE(key->Query("Password", buffer, sizeof buffer, &length));
  EXPECT_FALSE(key->Query("Missing", buffer, sizeof buffer, &length));
}

TEST(MemoryRegistryTest, BinaryValuesAndDeletion) {
  MemoryRegistry registry;
  auto key = registry.CreateKey(kKey, nullptr);
  const unsigned char data[] = {1, 0x1C, 0x0D, 0, 0, 0, 0, 0};
  ASSERT_TRUE(key->Set("Button1", ValueType::kBinary, data, sizeof data));
  EXPECT_EQ(registry.TypeOf(kKey, "Button1"), ValueType::kBinary);
  EXPECT_EQ(registry.Bytes(kKey, "Button1")->size(), sizeof data);
  EXPECT_TRUE(key->DeleteValue("button1"));
  EXPECT_FALSE(key->DeleteValue("Button1"));
  EXPECT_FALSE(registry.Bytes(kKey, "Button1").has_value());
}

TEST(MemoryRegistryTest, SubkeysEnumerateInCaseFreeOrderAndOnlyOneLevel) {
  MemoryRegistry registry;
  const std::string base = kKey;
  registry.PutKey(base + "\\ProEngineer V.20");
  registry.PutKey(base + "\\empty");
  registry.PutKey(base + "\\I-DEAS MS\\Nested");
  registry.PutKey(base + "Sibling");  // not below the key
  auto key = registry.OpenKey(kKey);
  std::vector<std::string> names;
  char name[64];
  for (std::uint32_t i = 0; key->EnumerateSubkey(i, name, sizeof name); ++i) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"empty", "I-DEAS MS", "ProEngineer V.20"}));
  // "empty" needs six bytes with its terminator; one less fails with an empty name.
  char small[6] = "?????";
  EXPECT_FALSE(key->EnumerateSubkey(0, small, 5));
  EXPECT_STREQ(small, "");
  EXPECT_TRUE(key->EnumerateSubkey(0, small, 6));
  EXPECT_STREQ(small, "empty");
}

TEST(MemoryRegistryTest, DeletedKeyIsGoneForOpenHandles) {
  MemoryRegistry registry;
  const std::string mapping = std::string(kKey) + "\\Mine";
  auto key = registry.CreateKey(mapping.c_str(), nullptr);
  EXPECT_FALSE(registry.DeleteKey(kKey));  // it has a subkey
  EXPECT_TRUE(registry.DeleteKey(mapping.c_str()));
  EXPECT_FALSE(registry.HasKey(mapping));
  EXPECT_FALSE(key->Set("Name", ValueType::kString, "x", 1));
  registry.CreateKey(mapping.c_str(), nullptr);  // a new key of the same name
  EXPECT_FALSE(key->Set("Name", ValueType::kString, "x", 1));
  EXPECT_FALSE(registry.DeleteKey("Software\\Nothing"));
}

TEST(MemoryRegistryTest, FaultInjectionAndJournal) {
  MemoryRegistry registry;
  registry.failCreate = true;
  EXPECT_EQ(registry.CreateKey(kKey, nullptr), nullptr);
  registry.failCreate = false;
  auto key = registry.CreateKey(kKey, nullptr);
  registry.failWrites = true;
  EXPECT_FALSE(key->Set("Exit", ValueType::kString, "1", 1));
  EXPECT_EQ(registry.WriteCount(), 0);
  EXPECT_EQ(registry.Entries("Set "), std::vector<std::string>{"Set Exit"});
}

}  // namespace
}  // namespace astro

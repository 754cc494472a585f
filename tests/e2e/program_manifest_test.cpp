// The program's manifest as the system reads it from astrodriver.exe: the current
// common controls, the user's rights, the systems it knows, and how it meets
// display scaling. The XML read back is kept beside the screenshots.
#include <gmock/gmock.h>

#include <fstream>
#include <regex>

#include "tests/e2e/harness_paths.h"
#include "tests/e2e/pe_resources.h"

namespace e2e {
namespace {

// The manifest's text with every run of white space made one blank.
std::string Squeezed(const std::string& text) {
  return std::regex_replace(text, std::regex("\\s+"), " ");
}

TEST(ProgramManifestTest, AsksForCommonControls6UserRightsSystemsUpTo11AndPerMonitorScaling) {
  const std::string program = WindowsProgram("astrodriver.exe");
  ASSERT_TRUE(FileExists(program)) << program << " is missing: build the Windows programs first";
  std::string error;
  std::string manifest;
  int manifests = 0;
  for (const PeResource& resource : ReadPeResources(ReadWholeFile(program), &error)) {
    if (resource.type != kManifestResource) continue;
    ++manifests;
    if (resource.id == 1) manifest = resource.data;
  }
  ASSERT_EQ(error, "");
  ASSERT_EQ(manifests, 1) << "the program must carry exactly one manifest, with id 1";
  std::ofstream(HarnessDir() + "/astrodriver.manifest.xml", std::ios::binary) << manifest;

  const std::string xml = Squeezed(manifest);
  const auto has = [&xml](const std::string& pattern) {
    return std::regex_search(xml, std::regex(pattern));
  };
  EXPECT_TRUE(has("^<\\?xml [^>]*encoding=\"UTF-8\""));
  EXPECT_TRUE(
      has("<dependentAssembly> <assemblyIdentity type=\"win32\" "
          "name=\"Microsoft\\.Windows\\.Common-Controls\" version=\"6\\.0\\.0\\.0\" "
          "processorArchitecture=\"\\*\" publicKeyToken=\"6595b64144ccf1df\""));
  EXPECT_TRUE(has("<requestedExecutionLevel level=\"asInvoker\""));
  for (const char* system : {"35138b9a-5d96-4fbd-8e2d-a2440225f93a",     // Windows 7
                             "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",     // 8
                             "1f676c76-80e1-4239-95bb-83d0f6d0da78",     // 8.1
                             "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"}) {  // 10 and 11
    EXPECT_TRUE(has(std::string("<supportedOS Id=\"\\{") + system + "\\}\"/>")) << system;
  }
  EXPECT_TRUE(
      has("<dpiAwareness xmlns=\"http://schemas\\.microsoft\\.com/SMI/2016/"
          "WindowsSettings\">PerMonitorV2</dpiAwareness>"));
  // Systems before per-monitor awareness read this one: aware of the system's DPI.
  EXPECT_TRUE(
      has("<dpiAware xmlns=\"http://schemas\\.microsoft\\.com/SMI/2005/"
          "WindowsSettings\">true</dpiAware>"));
}

}  // namespace
}  // namespace e2e

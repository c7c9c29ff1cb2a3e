#pragma once
// The options section: application icons (tag 1) and the version record
// (tag 2).
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace imagelink {

struct VersionRecord {
  // MajorVersion, MinorVersion, BugVersion, NonReleaseVersion, StageCode, RegionCode.
  std::array<int32_t, 6> numbers{};
  std::string shortVersion;
  std::string longVersion;
  std::string packageInfo;
};

// Parses "1,0,0,2,2,15".
std::array<int32_t, 6> parseVersionNumbers(const std::string &text);

// Icons are PNG files (at most 255 pixels on a side), written as RGBA rows
// top to bottom in the order given.
std::vector<uint8_t> optionsSection(const std::vector<std::string> &iconFiles,
                                    const std::optional<VersionRecord> &version);

} // namespace imagelink

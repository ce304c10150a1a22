#pragma once
// Codeplug files (.dat): the settings record in file form (1199 bytes) followed
// by all 412 channel records (60 bytes each), 25919 bytes in all.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "base/SafeFile.h"
#include "state/RadioImage.h"

namespace tarvane {

struct Program;

inline constexpr size_t kSettingsFileSize = 1199;
inline constexpr size_t kChannelFileSize = 60;
inline constexpr size_t kCodeplugFileSize = kSettingsFileSize + kMaxChannels * kChannelFileSize;
static_assert(kCodeplugFileSize == 25919);
// Opening reads no more than this: a little slack for a file that gained a few
// bytes on its way, never a device, a FIFO or a huge file read to its end.
inline constexpr size_t kCodeplugReadLimit = 64 * 1024;

void EncodeSettings(const SettingsRecord& r, std::span<uint8_t, kSettingsFileSize> out);
void DecodeSettings(std::span<const uint8_t, kSettingsFileSize> in, SettingsRecord& r);
void EncodeChannelRecord(const ChannelRecord& r, std::span<uint8_t, kChannelFileSize> out);
void DecodeChannelRecord(std::span<const uint8_t, kChannelFileSize> in, ChannelRecord& r);
std::vector<uint8_t> EncodeCodeplug(const RadioImage& image);
// False when the bytes are too few for a whole codeplug.
bool DecodeCodeplug(std::span<const uint8_t> bytes, RadioImage& image);

enum class OpenResult { Opened, Refused, Quit };

// The checked open of the Open command: model code, format version, version
// table, size and counts are all checked before the image or baseline changes.
OpenResult OpenCodeplug(Program& p, const std::string& path);
// The same checks on bytes already read; path only names the file in messages.
OpenResult OpenCodeplugBytes(Program& p, const std::string& path, std::span<const uint8_t> bytes);
// What a save writes: the working settings, stamped with this program's model and
// format, and the working channels over the baseline's.
RadioImage SavedImage(const Program& p);
// Atomic save: a failure shows 9002 and leaves file, baseline and document as they were.
bool SaveCodeplug(Program& p, const std::string& path);
// Initial codeplugs, without model and version checks.
bool LoadInitFull(Program& p, const std::string& path);
bool LoadInitSettings(Program& p, const std::string& path);
bool LoadInitFullBytes(Program& p, std::span<const uint8_t> bytes);
bool LoadInitSettingsBytes(Program& p, std::span<const uint8_t> bytes);

// Text 9002, then the path and the reason: the system's words, or why the
// program itself refused the file.
std::string FileFailureText(Program& p, const FileError& error);

} // namespace tarvane

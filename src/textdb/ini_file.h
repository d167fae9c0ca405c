// Sectioned settings files: "[Section]" headers followed by key=value lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/file_system.h"

namespace vorn {

// The whole file is held in memory; nothing reaches the disk until Save.
// Names, keys and values are compared exactly (case-sensitive, untrimmed).
class CIniFile {
 public:
  // An iteration position; 0 means "no more".
  using Position = size_t;

  CIniFile();
  virtual ~CIniFile();
  CIniFile(const CIniFile&) = delete;
  CIniFile& operator=(const CIniFile&) = delete;

  // Discards everything, then reads `path` (an existing file only). Returns
  // false and leaves the object empty, without a stored path, when the file
  // cannot be opened. Lines of any length are read whole; a leading UTF-8
  // byte-order mark is skipped.
  [[nodiscard]] bool Load(const std::string& path);
  // Writes every section to `path` (the stored path when null; a given path
  // becomes the stored one). The file is written to a temporary file and
  // renamed over the old one, so a failed save leaves the old file intact.
  // Returns false, keeping memory unchanged, when the file cannot be written.
  [[nodiscard]] bool Save(const std::string* path = nullptr);

  const std::string& GetPath() const { return path_; }

  // Each getter returns false and leaves its output untouched (GetString:
  // emptied) when the section or key is missing.
  bool GetString(std::u16string_view section, std::u16string_view key, std::u16string* value) const;
  bool GetInt(std::u16string_view section, std::u16string_view key, int32_t* value) const;
  bool GetUnsigned(std::u16string_view section, std::u16string_view key, uint32_t* value) const;
  bool GetBool(std::u16string_view section, std::u16string_view key, bool* value) const;

  // With a value: creates the section when missing and sets the key. With a
  // null value: removes the key (the section stays) and creates nothing.
  void SetString(std::u16string_view section, std::u16string_view key, const std::u16string* value);
  void SetString(std::u16string_view section, std::u16string_view key, std::u16string_view value);
  void SetInt(std::u16string_view section, std::u16string_view key, int32_t value);
  void SetUnsigned(std::u16string_view section, std::u16string_view key, uint32_t value);
  void SetBool(std::u16string_view section, std::u16string_view key, bool value);

  void RemoveSection(std::u16string_view section);
  bool HasSection(std::u16string_view section) const;
  // Appends the section's keys to `keys`, then sorts the whole array by
  // ordinal UTF-16 order.
  void GetKeys(std::u16string_view section, std::vector<std::u16string>* keys) const;

  // Iteration in hash-map order (not sorted). Positions are invalidated by
  // any change to the object.
  Position GetFirstSectionPosition() const;
  std::u16string GetNextSection(Position* pos) const;
  Position GetFirstKeyPosition(std::u16string_view section) const;
  std::u16string GetNextKey(std::u16string_view section, Position* pos) const;

  // The file as Save writes it (UTF-8, CR LF line ends).
  std::string Serialize() const;
  // Replaces the content with the parse of `bytes` (no path is stored).
  void Parse(std::string_view bytes);

 private:
  using Section = std::unordered_map<std::u16string, std::u16string>;
  using SectionMap = std::unordered_map<std::u16string, Section>;

  // Where the last step of an iteration stopped; stale once `generation`
  // differs from the object's.
  template <typename Map>
  struct IterationCache {
    const Map* map = nullptr;
    uint64_t generation = 0;
    size_t index = 0;
    typename Map::const_iterator it{};
  };

  // Creates the section when missing.
  Section& SectionFor(std::u16string_view name);
  const Section* FindSection(std::u16string_view name) const;
  const std::u16string* FindValue(std::u16string_view section, std::u16string_view key) const;
  template <typename Map>
  typename Map::const_iterator Seek(const Map& map, size_t index, IterationCache<Map>* cache) const;

  SectionMap sections_;
  std::string path_;
  platform::FileStatus status_;
  uint64_t generation_ = 0;  // counts changes, to invalidate the caches
  mutable IterationCache<SectionMap> section_cache_;
  mutable IterationCache<Section> key_cache_;
};

// The program settings file, Vorn.ini in the working folder. Loads at
// construction (a missing file gives empty settings) and always saves at
// destruction.
class CVornIni : public CIniFile {
 public:
  CVornIni();
  // For tests and tools that keep their settings elsewhere.
  explicit CVornIni(std::string path);
  ~CVornIni() override;

  // "Main"/"SaveOnExit"; true when the key is missing.
  bool GetSaveOnExit() const;
  void ToggleSaveOnExit();

 private:
  std::string own_path_;
};

}  // namespace vorn

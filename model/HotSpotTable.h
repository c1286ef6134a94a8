#pragma once
// One 360° project's hot spots, their icon codes and the three video paths.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

inline constexpr int kSlotCount = 10;          // slots 1..10; record 0 is the empty template
inline constexpr std::size_t kLinkBytes = 512; // characters: Windows-1251 bytes
inline constexpr std::size_t kTitleBytes = 40; // characters: Windows-1251 bytes

// One hot spot. Texts are UTF-8 in memory; their limits count characters,
// which are the bytes of the Windows-1251 form for text that fits it, and a
// cut never splits a character. A never-written
// record has empty texts and zero numbers.
struct HotSpotItem {
    std::string link;  // as typed (not stripped), cut to kLinkBytes
    std::string title; // as typed, cut to kTitleBytes
    std::int32_t yaw = 0;
    double pos = 0.0;
    double time = 0.0;
    std::int32_t self = 0;

    bool inUse() const { return pos > 0.0; }
    // What every reader uses: blanks and NULs stripped from both ends.
    std::string strippedLink() const;
    std::string strippedTitle() const;
    bool operator==(const HotSpotItem&) const = default;
};

// Icon code per slot, index 0..9 for slots 1..10: 200 + k for icon k, 0 = none chosen.
using HotSpotIcons = std::array<std::int32_t, kSlotCount>;
inline constexpr std::int32_t kFirstIconCode = 200;
inline constexpr int kIconCount = 35; // codes 200..234

// Why a store was refused; each maps to a fixed message of the editor.
enum class StoreRefusal { NoSuchSlot, EmptyLink, ZeroPosition, NoTime };

struct RefusalMessage {
    std::string_view caption; // "Warning"
    std::string_view text;
};
RefusalMessage refusalMessage(StoreRefusal refusal);

class HotSpotTable {
  public:
    // Record 0 is the empty template; 1..10 are the slots. Out-of-range
    // indexes read as the empty template and are never written.
    const HotSpotItem& record(int index) const;

    // Checks in order: a slot 1..10, link (stripped of blanks) not empty,
    // position > 0, leading number of timeText at least a thousandth (what
    // a file keeps). On success writes all six fields of slot s at once (texts
    // cut to their limits) and returns nullopt.
    std::optional<StoreRefusal> store(int slot, std::string_view link, std::string_view title,
                                      std::int32_t yaw, double position, std::string_view timeText,
                                      bool self);
    // Writes a record as a file reader found it (cuts the texts to their limits).
    void put(int slot, HotSpotItem item);
    void remove(int slot);
    void removeAll();
    bool inUse(int slot) const;
    int countInUse() const;
    bool operator==(const HotSpotTable&) const = default;

  private:
    std::array<HotSpotItem, kSlotCount + 1> records_{};
};

// VIDEO1..VIDEO3: full paths or empty. Index 1..3.
class VideoPaths {
  public:
    const std::string& path(int n) const;
    void set(int n, std::string path);
    void clear(int n) { set(n, {}); }
    void clearExtras(); // empties VIDEO2 and VIDEO3
    void clearAll();
    bool operator==(const VideoPaths&) const = default;

  private:
    std::array<std::string, 3> paths_{};
};

} // namespace qm

// The world file (".vrz"): a 92-byte header and 23 x 23 records of 9 bytes, row by row,
// little-endian. Files without the magic are read from one code byte per record.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/world.h"

constexpr uint32_t WORLD_MARKER = 0x00FF00FF;
constexpr uint8_t WORLD_MAGIC[4] = {'M', 'U', 'X', 'A'};
constexpr uint32_t WORLD_HEADER_SIZE = 92;
constexpr uint32_t WORLD_RECORD_SIZE = 9;
constexpr uint32_t WORLD_FILE_SIZE = WORLD_HEADER_SIZE + BOARD_CELLS * WORLD_RECORD_SIZE;
// The header holds the side as one byte, so no byte past this can matter to the reader.
constexpr uint32_t WORLD_MAX_SIDE = 255;
constexpr uint32_t WORLD_FILE_LIMIT =
    WORLD_HEADER_SIZE + WORLD_MAX_SIDE * WORLD_MAX_SIDE * WORLD_RECORD_SIZE;

// A byte stream under the reader and writer.
class WorldStream {
  public:
    virtual ~WorldStream() = default;
    // Returns fewer bytes than asked only at the end of the data; throws on an I/O error.
    virtual uint32_t Read(void* buffer, uint32_t count) = 0;
    // Writes all bytes or throws.
    virtual void Write(const void* buffer, uint32_t count) = 0;
};

class MemoryWorldStream : public WorldStream {
  public:
    MemoryWorldStream() = default;
    explicit MemoryWorldStream(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    uint32_t Read(void* buffer, uint32_t count) override;
    void Write(const void* buffer, uint32_t count) override;
    const std::vector<uint8_t>& Bytes() const { return bytes_; }

  private:
    std::vector<uint8_t> bytes_;
    size_t position_ = 0;
};

// The header in one write of 92 bytes, then one write of 9 bytes per record. Stream
// errors pass through.
void WriteWorldFile(WorldStream& stream, const WorldState& world);

// Returns false, with the world untouched, when the header is short or its marker wrong.
// The whole file is read before the world is touched: if the stream throws, the world
// stays exactly as it was and the exception reaches the caller. Otherwise the world is
// reset and filled, populations recounted, and the balance set to the Red share without
// smoothing. A file cut inside the records loads what it holds. The brush is the
// caller's business.
bool ReadWorldFile(WorldStream& stream, WorldState& world);

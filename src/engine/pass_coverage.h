// How far one overwrite pass reaches into a file.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/file_system.h"

namespace tarnwipe {

// The bytes every pass overwrites, from offset 0: the file's whole length and, where the file
// has blocks of its own, the rest of its last block, since that slack may still hold older
// bytes of it. A pass never moves a file's data: it never grows the file onto a block it does
// not have, and a file whose data lives inside its record (NTFS resident data, ext4 inline
// data; it owns fewer bytes of blocks than its rounded length) is overwritten within its
// length, because growing it would move the data out and leave the original bytes behind.
// lBlock is the allocation unit, 0 when unknown (then the length alone is covered).
int64_t PassLength(int64_t lLength, int64_t lAllocated, int64_t lBlock);

// The ranges every pass overwrites. Where the file's owned ranges are known (pOwned), every
// block it owns within its length, and the slack of its last block where it owns that block;
// holes are skipped, since writing them only allocates new blocks, and nothing past the end of
// the last block is written, so no pass makes the file longer than its blocks. Where they are
// not known, the one range PassLength gives.
std::vector<ByteRange> PassRanges(int64_t lLength, int64_t lAllocated, int64_t lBlock,
                                  const std::vector<ByteRange>* pOwned);

// How many bytes the ranges hold, and how many of them lie below lLimit.
int64_t BytesIn(const std::vector<ByteRange>& ranges, int64_t lLimit = INT64_MAX);

}  // namespace tarnwipe

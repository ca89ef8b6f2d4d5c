#pragma once
// Savers of one file at once, each waiting its turn at the file's lock.

#include <string>

// Eight writers, four of each of two users sharing a group where the bench runs as root (else all
// the bench's own user), add one each to a counter a hundred times, each addition read and written
// under the lock and flushed, in a folder of `folder`. Prints METRIC lines: the updates kept beside
// those made, the time they took beside the same 800 additions by one writer alone, and the longest
// wait for the lock.
void SaversAtOnce(const std::string& folder);

// Four writers of the bench's own user add one each to a counter a hundred times, as above, in a
// folder served through FUSE (bindfs), whose file systems keep a removed open file under a hidden
// name and give each name of a file its own node. Prints METRIC lines: the updates kept beside those
// made, and the time they took beside the same writers in a folder of the disk's own.
void SaversOnAFuseFolder(const std::string& folder);

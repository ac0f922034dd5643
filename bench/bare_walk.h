// bench/bare_walk.h
// The bare floor of loading scenery: the folders and files the loader reads,
// walked and read with the system calls alone, for the benchmarks and the
// cold-load program to measure the loader against in the same process.
#pragma once

#include <cstddef>
#include <cstdint>

// One buffer kept from file to file; zero-initialise, release with Bare_Free.
struct BareBuffer {
    uint8_t* bytes;
    size_t capacity;
};

// Walks SCENEDB/EASTHEM and SCENEDB/WESTHEM (subfolders too, VOR and NDB
// ".BGL" names) and every file in SCENEDB/AFDFILES/SCENERY below root:
// opendir and readdir, then open, fstat, read and close per file. Returns
// the bytes read.
size_t Bare_WalkTree(const char* root, BareBuffer* buffer);
void Bare_Free(BareBuffer* buffer);

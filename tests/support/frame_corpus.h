#pragma once

// The committed seeds of tests/fuzz/corpus (make_corpus.py), each named for
// what the viewer must do with it. Plain C++, for the native checks too.

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

enum class SeedFate {
    kShown,      // "valid-": a frame the viewer shows
    kEmpty,      // "empty-": a width or height of 0, a plain window
    kTurnedAway, // "bad-": refused like a missing file
    kUnnamed,    // none of these: the corpus itself is wrong
};

struct Seed {
    std::string name;
    SeedFate fate = SeedFate::kUnnamed;
    std::vector<std::uint8_t> bytes;
};

inline SeedFate FateOf(const std::string& name) {
    for (const auto& prefix :
         {std::make_pair("valid-", SeedFate::kShown), std::make_pair("empty-", SeedFate::kEmpty),
          std::make_pair("bad-", SeedFate::kTurnedAway)}) {
        if (name.rfind(prefix.first, 0) == 0) {
            return prefix.second;
        }
    }
    return SeedFate::kUnnamed;
}

// Every seed in folder, in name order.
inline std::vector<Seed> ReadCorpus(const std::string& folder) {
    std::vector<Seed> seeds;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string name = entry.path().filename().string();
        seeds.push_back({name,
                         FateOf(name),
                         {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}});
    }
    std::sort(seeds.begin(), seeds.end(),
              [](const Seed& a, const Seed& b) { return a.name < b.name; });
    return seeds;
}

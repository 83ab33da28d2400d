#pragma once

#include "sample_picture.h"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

// What the seed corpus generators share: the directory named on their
// command line, made when missing, and the sample files written into it.
namespace vexilon::samples {

class CorpusDirectory {
public:
    // The directory of "<program> <directory>"; nothing, after the usage
    // line on stderr, for any other command line.
    static std::optional<CorpusDirectory> fromArguments(int argc, char** argv) {
        if (argc != 2) {
            std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
            return std::nullopt;
        }
        CorpusDirectory corpus(argv[1]);
        std::filesystem::create_directories(corpus.dir_);
        return corpus;
    }

    void save(const std::string& name, const Bytes& bytes) const { writeFile(dir_ / name, bytes); }

private:
    explicit CorpusDirectory(std::filesystem::path dir) : dir_(std::move(dir)) {}

    std::filesystem::path dir_;
};

} // namespace vexilon::samples

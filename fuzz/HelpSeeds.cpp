// Writes every file of a compiled help file into a folder, as seeds of the HTML fuzzer: the pages,
// the contents and the index, and the style sheet and pictures as bytes that are no HTML.

#include <cstdio>
#include <fstream>
#include <string>

#include "help/ChmFile.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s HELPFILE FOLDER\n", argv[0]);
        return 2;
    }
    const quillon::ChmLibrary library;
    const auto file = quillon::ChmFile::Open(library, argv[1]);
    if (!file) {
        std::fprintf(stderr, "%s: cannot open %s\n", argv[0], argv[1]);
        return 1;
    }
    for (const std::string& path : file->Files()) {
        const auto bytes = file->Read(path);
        if (!bytes) return 1;
        std::string name = path.substr(1);
        for (char& c : name) {
            if (c == '/') c = '_';
        }
        std::ofstream out(std::string(argv[2]) + "/" + name, std::ios::binary | std::ios::trunc);
        out << *bytes;
        if (!out) return 1;
    }
    return 0;
}

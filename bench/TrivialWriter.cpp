// The limit for a batch of BMP files: reads the given files into memory,
// then only writes the same bytes into FOLDER under new names, and prints
// how long the writing took. Usage: trivial_writer FOLDER FILE...

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    if (argc < 3) {
        std::cerr << "usage: trivial_writer FOLDER FILE...\n";
        return 2;
    }
    std::vector<std::string> contents;
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        contents.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i < contents.size(); ++i) {
        std::ofstream out(std::string(argv[1]) + "/t-" + std::to_string(i + 1) + ".bmp",
                          std::ios::binary);
        out.write(contents[i].data(), static_cast<std::streamsize>(contents[i].size()));
        if (!out) {
            std::cerr << "write failed\n";
            return 1;
        }
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    std::cout << seconds.count() << '\n';
    return 0;
}

// skingen: writes the default skin's bitmaps (skingen DIR) or the program's
// bitmap resources (skingen --resources DIR) as 24-bit BMP files, or the
// program's icon (skingen --icon FILE).
#include "IconArt.h"
#include "SkinArt.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

namespace fs = std::filesystem;

namespace {

int Usage()
{
    std::cerr << "usage: skingen DIR | skingen --resources DIR | skingen --icon FILE\n";
    return 2;
}

void WriteAll(const fs::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

} // namespace

int main(int argc, char** argv)
{
    const bool resources = argc == 3 && std::string(argv[1]) == "--resources";
    const bool icon = argc == 3 && std::string(argv[1]) == "--icon";
    if (argc != 2 && !resources && !icon) return Usage();
    const fs::path dir = argv[argc - 1];
    try {
        if (icon) {
            WriteAll(argv[2], ProgramIconFile());
            std::cout << "wrote the icon " << argv[2] << "\n";
            return 0;
        }
        fs::create_directories(dir);
        const std::vector<TArtFile> files = resources ? ProgramResourceArt() : DefaultSkinArt();
        for (const TArtFile& file : files) WriteAll(dir / file.Name, EncodeBmp24(file.Image));
        std::cout << "wrote " << files.size() << " bitmaps into " << dir.string() << "\n";
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "skingen: " << e.what() << "\n";
        return 1;
    }
}
